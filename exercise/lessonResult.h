#pragma once
#include "exercise/exerciseState.h"

#include <string>

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

// Adds the exercise's counts, time and percentage to the Config section of a settings file, key by
// key in the order WordOK, WordErr, CharOK, CharErr, TempoTotal, Porcent. A stored value that does not
// parse stops it there with the conversion error; the keys before it stay written. True when every
// value was stored.
bool AccumulateResults(const std::string& settingsFile, const TExerciseState& state);

// Unlocks lesson N + 1 in the profile (section "Aula" + (N + 1), flag Habilitado); true when stored.
bool UnlockNextLesson(const std::string& profilePath, int lessonNumber);

// The exercise history of the student whose profile is profilePath (exercise/history.h), in the same
// folder the profiles and lesson results are kept in.
std::string HistoryFile(const std::string& profilePath);
