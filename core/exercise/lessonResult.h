#pragma once
#include "core/exercise/exerciseState.h"

#include "core/platform/iniFile.h"

#include <string>
#include <vector>

// Deciding a finished exercise and adding it to the student's totals. Paths are UTF-8 text.

// Passed when the time taken is not over the time allowed and the right percentage reaches the
// minimum; both compared at the millisecond the clock shows, so an equal time passes.
bool LessonPassed(const TExerciseState& state);

inline constexpr const char* kPassedVerdict = "!!! Parab\xE9ns - Voc\xEA atingiu o desejado !!!";
inline constexpr const char* kFailedVerdict = "!!! Treine Mais - Para fazer outra aula !!!";
inline constexpr const char* kPassedSound = "ok.wav";
inline constexpr const char* kFailedSound = "ahah.wav";

// The lesson result file of lesson N for the student whose profile is profilePath:
// program folder + "aulas/aula" + N + "_" + student name + ".def".
std::string LessonResultFile(int lessonNumber, const std::string& profilePath);

// Adds the exercise's counts, time and percentage to the Config section of a settings file: WordOK,
// WordErr, CharOK, CharErr, TempoTotal, Porcent, after the keys of alsoStore, all in one write. A
// stored value that does not parse stops it with the conversion error before anything is written.
// True when every value was stored; false (the file as it was) otherwise.
bool AccumulateResults(const std::string& settingsFile, const TExerciseState& state,
                       const std::vector<TSettingValue>& alsoStore = {});

// The profile's key that unlocks lesson N + 1 ("Aula" + (N + 1), flag Habilitado), for AccumulateResults.
TSettingValue NextLessonUnlock(int lessonNumber);

// The exercise history of the student whose profile is profilePath (core/exercise/history.h), in the same
// folder the profiles and lesson results are kept in.
std::string HistoryFile(const std::string& profilePath);

// Beside the profile, hidden from the roster: the lock taken while an exercise is stored (so that two
// machines storing the same student's exercises never lose each other's), and the mark left while the
// student does lessons (so that another machine can tell them so).
std::string StudentLockFile(const std::string& profilePath);
std::string StudentMarkFile(const std::string& profilePath);

// Stores a finished exercise of lesson N under the student's lock: the lesson result file, then the
// profile (the next lesson's unlocking, when passed, with the course totals), each in one write, then
// the history line when both were stored. True when everything was stored.
bool StoreExercise(const std::string& profilePath, int lessonNumber, const TExerciseState& state,
                   const std::string& when);
