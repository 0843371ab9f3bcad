#pragma once
#include "core/exercise/keySlips.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The lesson being typed: loaded by the lesson loader, run by the exercise window, judged by the
// result window. One set for the whole program; it keeps its values between exercises.
// The most codes a lesson text can have.
inline constexpr std::size_t MaxLessonCodes = 256;

struct TExerciseState {
    std::int32_t StartKey = 0;                    // virtual-key code that starts the exercise
    std::uint8_t ModelCodes[MaxLessonCodes] = {}; // the lesson text's codes; 0 after the last one
    std::int32_t ModelLength = 0;                 // number of codes in ModelCodes
    std::int32_t WordsToType = 0;                 // the exercise ends when right plus wrong words reach this
    double ExpectedTime = 0.0;                    // time allowed, a fraction of a day
    std::int32_t MinimumPercent = 0;              // minimum percentage of right keys
    bool Running = false;                         // an exercise is under way
    double StartTime = 0.0;                       // time of day when it started
    double FinalElapsed = 0.0;                    // elapsed time fixed when the last word is typed
    std::string TypedWord;                        // the characters of the word being typed (Windows-1252)
    std::int32_t WordPosition = 0;                // keys typed in the word being typed
    std::int32_t WordsRight = 0;
    std::int32_t WordsWrong = 0;
    std::int32_t LettersRight = 0;
    std::int32_t LettersWrong = 0;
    std::int32_t RightStreak = 0; // right words in a row since the last praise or wrong word
    // Which keys went wrong, for teaching only (the judging above does not look at it): the keys typed
    // since the last word's end key with the tick of each, aligned with the model when the end key
    // comes (or when twice the model's keys have been typed without it).
    TKeySum Slips;
    std::uint8_t SlipTyped[2 * MaxLessonCodes] = {};
    std::uint32_t SlipTicks[2 * MaxLessonCodes] = {};
    std::int32_t SlipCount = 0;
    std::uint32_t SlipBefore = 0; // the tick of the key before the first of SlipTyped (or of the start)
};

extern TExerciseState ExerciseState;

// Puts a lesson text's codes in as the model, each as the byte it is judged by, zeros after them; the
// caller has refused a text of more than MaxLessonCodes codes (std::length_error otherwise).
void SetModel(TExerciseState& state, const std::vector<int>& codes);
