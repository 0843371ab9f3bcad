#pragma once
#include "core/exercise/exerciseState.h"
#include "core/exercise/history.h"

#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

// Reforço: a short practice of the keys a student gets wrong most, in real Portuguese words. The keys
// are chosen from the slips the history records; the text is one short phrase of words from the
// course's own list, typed over and over like a lesson's phrase. A Reforço never counts as a lesson:
// it is only recorded in the history, marked as one.

// The words phrases are made of (UTF-8: lower-case letters and ç, no accented vowel).
std::span<const char* const> ReforcoWords();

// The rule's figures.
inline constexpr std::size_t kReforcoRecent = 10;    // exercises with key data looked at, the latest
inline constexpr std::int64_t kReforcoMinAsked = 20; // a key asked fewer times over them tells nothing
inline constexpr std::size_t kReforcoMostKeys = 3;
inline constexpr std::size_t kReforcoMostKeysTyped = 21; // Enter included, as a lesson's phrase
inline constexpr double kReforcoMinutes = 3.0;

// A key a Reforço works on: letters (by their code, 'A' to 'Z') and the key right of L, the keys words
// are made of.
bool ReforcoCanPractise(int key);

// A key in focus, with how it went over the recent exercises before this Reforço.
struct TReforcoKey {
    std::uint8_t Key = 0;
    std::int64_t Asked = 0; // over the recent exercises (0: none there)
    std::int64_t Right = 0;
    std::uint8_t Instead = 0; // the key most often typed in its place there, when unlocked; 0: none
};

struct TReforcoChoice {
    std::vector<TReforcoKey> Focus; // one to three keys; empty: no Reforço
    std::string WhyNot;             // why there is none (UTF-8, for the catalogue's balloon)
};

// The keys of a Reforço, over a student's history (oldest first), among the keys of the lessons the
// student has unlocked; minimumPercent is the current lesson's. The one to three keys with the highest
// share of slips over the latest kReforcoRecent exercises with key data, each asked at least
// kReforcoMinAsked times there and typed right below minimumPercent (the second and third only at half
// the first's share or more). A key in focus stays in focus, ahead of the new ones, until two Reforço
// exercises running typed it right at minimumPercent; after that only its slips since count for it.
TReforcoChoice ChooseReforcoKeys(std::span<const THistoryEntry> history, const std::set<int>& unlocked,
                                 int minimumPercent);

// A Reforço's phrase: words of the list joined by spaces, at most kReforcoMostKeysTyped keys ending with
// Enter; before Enter is taught, one word ending with the space. Only keys in `unlocked`; words rich in
// the focus keys and in the keys typed in their place. The same seed makes the same phrase; a phrase
// equal to `avoid` is not made while another can be.
struct TReforcoPhrase {
    std::string Text;       // Windows-1252, without its last key
    std::vector<int> Codes; // the keys to type, the last one included
};
TReforcoPhrase MakeReforcoPhrase(const TReforcoChoice& choice, const std::set<int>& unlocked,
                                 std::uint64_t seed, const std::string& avoid = {});

// The keys of a word of the list, or empty when it has a character no key types alone.
std::vector<int> ReforcoWordCodes(const std::string& utf8Word);

// How many times the phrase is typed, the time allowed and the minimum: about kReforcoMinutes at the
// pace of the current lesson (its keys over its time allowed), at least three times.
struct TReforcoPlan {
    int WordsToType = 0;
    double ExpectedTime = 0.0; // a fraction of a day, rounded up to 5 seconds
    int MinimumPercent = 0;
};
TReforcoPlan PlanReforco(std::size_t phraseKeys, double lessonKeysPerMinute, int minimumPercent);

// How each focus key went in the exercise just typed, against before: "F: 95% (antes 70%)", with
// "—" where there is no figure; and the same as a sentence for a screen reader.
struct TReforcoOutcome {
    std::string Line;   // UTF-8
    std::string Spoken; // UTF-8
};
TReforcoOutcome ReforcoOutcome(const std::vector<TReforcoKey>& focus, const TKeyTallies& now, int layout);

// Stores a finished Reforço under the student's lock: one history line, marked as a Reforço, with the
// lesson the student is at; never the lesson result files, the profile's totals or its unlocking.
bool StoreReforco(const std::string& profilePath, int lessonNumber, const TExerciseState& state,
                  const std::string& when);
