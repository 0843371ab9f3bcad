#pragma once
#include <cstdint>
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
