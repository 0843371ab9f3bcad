#pragma once
#include "core/exercise/exerciseState.h"

// One second as a fraction of a day, the unit of the exercise's clock.
inline constexpr double kSecond = 1.0 / 86400.0;

// An exercise as its last key leaves it: the counters and the time taken, against a lesson of one
// minute and 90 %.
inline TExerciseState FinishedExercise(int wordsRight, int wordsWrong, int right, int wrong, double seconds) {
    TExerciseState s;
    s.WordsRight = wordsRight;
    s.WordsWrong = wordsWrong;
    s.LettersRight = right;
    s.LettersWrong = wrong;
    s.FinalElapsed = seconds * kSecond;
    s.ExpectedTime = 60 * kSecond;
    s.MinimumPercent = 90;
    return s;
}
