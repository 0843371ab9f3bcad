#pragma once
#include "core/exercise/history.h"
#include "core/exercise/keySlips.h"
#include "core/platform/keyboard.h"

#include <filesystem>
#include <string>
#include <vector>

struct TStudentRow;

// Which keys go wrong, as the report and the result window show it: from the slips by key of the
// history (a student's, the class's) or of one exercise. Texts are UTF-8, keys named on a layout (0
// American, 1 ABNT2).

// The mean time before a right key, in milliseconds; 0 without one.
double KeyMeanMs(const TKeyTally& key);

struct TFingerFigure {
    Finger Which = Finger::Thumb;
    std::int64_t Asked = 0;
    std::int64_t Wrong = 0;
};

inline constexpr std::size_t kKeysListed = 5;
inline constexpr std::int64_t kSlowestKeyRightTimes = 3; // a key's mean time counts from this many

struct TKeyFigures {
    std::int64_t Exercises = 0;            // exercises with key data summed
    TKeyTallies Keys;                      // every key asked, ordered by key
    std::vector<TKeyTally> MostMissed;     // keys with a slip, most slips first (then higher rate, key)
    std::vector<TKeyConfusion> Confusions; // the five most frequent "typed instead", most first
    std::vector<TFingerFigure> Fingers;    // the nine fingers, left pinky to thumbs (Shift, pressed by
                                           // either pinky, left out); a finger never asked: Asked 0
    std::vector<TKeyTally> Slowest;        // the five keys with the longest mean time before a right key
};
TKeyFigures KeyFiguresOf(const TKeySum& sum);

// The slips of the last `exercises` exercises the history kept (those without key data add nothing).
TKeySum LastExercisesKeySum(const THistory& history, std::size_t exercises = 10);

// "mínimo esquerdo" ... "polegares".
std::string FingerName(Finger finger);
// "digitou G no lugar de F: 3 vezes"
std::string ConfusionText(const TKeyConfusion& confusion, int layout);
// A key's figures in one sentence, for a screen reader and a tool tip: "F: 12 vezes, 3 erradas (25%):
// 1 trocada (digitou G), 2 esquecidas; 1 a mais; 420 ms em média antes de cada acerto".
std::string KeyFiguresText(const TKeyTally& key, int layout);
// A rate as a percentage: whole below 10 % with a decimal comma ("2,5%"), whole above ("25%").
std::string RatePercent(double rate);

// ---- For scripts: every student's keys over the whole history.
const std::vector<std::string>& KeyCsvColumns();
// The CSV of `--csv-teclas` (no byte-order mark): one row per student and key asked at least once, keys
// named on the student's layout. A history that cannot be read gives no rows; its reason goes in
// `problems` ("ana: O histórico ..."). The rows are ReadClass's, which read each history once.
std::string ClassKeysCsv(const std::vector<TStudentRow>& students,
                         std::vector<std::string>* problems = nullptr);
