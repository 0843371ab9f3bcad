#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Which keys went wrong in an exercise, and how. The course's judging compares a word position by
// position and counts right and wrong keys; this only records, for teaching: at the end of each word the
// typed word is aligned with the model word and each slip is named by the key asked and its kind.
// Keys are virtual-key codes, so a physical key is one entry whatever the layout; Shift is a key of its
// own.

struct TKeyTally {
    std::uint8_t Key = 0;          // the key asked
    std::int64_t Asked = 0;        // times the model asked for it
    std::int64_t Right = 0;        // typed right in its place
    std::int64_t Swapped = 0;      // "trocada": another key typed in its place
    std::int64_t Missed = 0;       // "esquecida": not typed
    std::int64_t Transposed = 0;   // "invertida": typed in its neighbour's place and the neighbour in its
    std::int64_t Extra = 0;        // "a mais": an extra key typed, put on this key
    std::uint8_t Instead = 0;      // the key most often typed in its place; 0: none
    std::int64_t InsteadTimes = 0; // how often that was
    std::int64_t RightMs = 0;      // the time before each right key, added up

    std::int64_t Wrong() const { return Swapped + Missed + Transposed; }
};

// One entry per key asked at least once, ordered by key.
using TKeyTallies = std::vector<TKeyTally>;

// The tallies as the history's "teclas" field: one group per key, groups apart by a space, each
// "key:asked:right:ms:trocadas:esquecidas:invertidas:a_mais:no_lugar:vezes" with its zeros at the end
// left out (a key always right is "70:12:12:4310"). No ";", so it stays one field.
std::string KeyTalliesText(const TKeyTallies& keys);
// Its reader: keys in order, each asked key counted once as right, trocada, esquecida or invertida, the
// key typed instead no more often than it was trocada. Anything else: nothing (the line has no key data).
bool ParseKeyTallies(std::string_view text, TKeyTallies& out);

// "Typed `instead` where `key` was asked", how often.
struct TKeyConfusion {
    std::uint8_t Key = 0;
    std::uint8_t Instead = 0;
    std::int64_t Times = 0;
};

// Tallies of many exercises added up. The key typed instead of each is the one most often typed in its
// place over them all, as far as each exercise tells it (its own most frequent one).
struct TKeySum {
    TKeyTallies Keys;                      // ordered by key
    std::vector<TKeyConfusion> Confusions; // ordered by key, then key typed instead
    std::int64_t Exercises = 0;            // exercises with key data added

    void Add(const TKeyTallies& exercise);
    void Add(const TKeySum& other);
};

// One step of a word's alignment: a key asked and what became of it, or an extra key typed.
enum class SlipKind : std::uint8_t { Right, Swapped, Missed, Transposed, Extra };
struct TSlipStep {
    SlipKind Kind = SlipKind::Right;
    std::int16_t Model = -1; // index of the key asked (for an extra one, the key it is put on)
    std::int16_t Typed = -1; // index of the key typed; -1: none (esquecida)
};

// Aligns a typed word with its model, both as key codes: the fewest slips, an adjacent pair typed the
// other way round being one slip ("invertida"); among alignments with as few slips, the one read from
// the word's start that takes, at each key, a right key first, then an inverted pair, a swapped key, a
// forgotten key, an extra key. An extra key is put on the key asked next (the one the student was
// reaching for); one after the last key asked on the last. `steps` is filled in word order (its memory
// reused: no allocation once it has grown).
void AlignWord(std::span<const std::uint8_t> model, std::span<const std::uint8_t> typed,
               std::vector<TSlipStep>& steps);

// Adds one word's alignment to an exercise's sum: every key asked once, each extra key on its key, the
// time before each right key (from the tick of the key typed before it: the previous typed key, or
// `before` for the first; a pause of more than kLongestKeyMs counts as that long: it is the student's,
// not the key's). `ticks` holds one tick per typed key.
inline constexpr std::uint32_t kLongestKeyMs = 10000;
void AddWordSlips(TKeySum& into, std::span<const std::uint8_t> model, std::span<const std::uint8_t> typed,
                  const std::uint32_t* ticks, std::uint32_t before, const std::vector<TSlipStep>& steps);

// A key's name for people, on the layout (0 American, 1 ABNT2), UTF-8: letters by their capital, the key
// right of L "Ç" or ";", "Espaço", "Enter", "Shift", other keys by what they print.
std::string KeyName(int code, int layout);

// Keys typed wrong (trocada, esquecida or invertida) over the times they were asked; an extra key is
// counted apart, not in the rate (it is not a time the key was asked). 0 for a key never asked.
double KeyErrorRate(const TKeyTally& key);
// The keys with a slip, most slips first (then the higher rate, then more often swapped, then by key).
std::vector<TKeyTally> MostMissedKeys(const TKeyTallies& keys);
// A key's slips in short: "3 vezes, digitou G", "2 vezes, esquecida", "4 vezes: digitou F 1 vez,
// esquecida 3 vezes".
std::string KeySlipsInShort(const TKeyTally& key, int layout);
// The result window's line: the three keys missed most in the exercise, with what was typed instead.
std::string MostMissedLine(const TKeyTallies& keys, int layout);
