#pragma once
#include "core/exercise/reforco.h"
#include "core/lessons/lessonFile.h"

#include <set>
#include <string>
#include <vector>

// A Reforço for the catalogue's student: the keys chosen from the history, the keys of the lessons
// unlocked, and the lesson the student is at, whose pace and minimum it takes.
struct TReforcoSetting {
    TReforcoChoice Choice; // no focus: no Reforço, and why
    std::set<int> Unlocked;
    int Lesson = 0; // the highest lesson unlocked
    TLessonData AtLesson;
    int Layout = 0; // the student's keyboard, for the keys' names
};
// Reads the profile (without writing to it), the unlocked lessons' files and the history; a lesson file
// that cannot be read brings no keys.
TReforcoSetting ReforcoSettingOf(const std::string& profilePath);

// The Reforço being typed, for the result window; not Active while a lesson runs.
struct TReforcoRun {
    bool Active = false;
    int Lesson = 0;
    int Layout = 0;
    std::vector<TReforcoKey> Focus;
    std::string Phrase; // Windows-1252; the next Reforço of the session brings another
};
extern TReforcoRun RunningReforco;

// Fills the exercise window and the exercise state with a new phrase, as the loader does with a
// lesson; the student's current lesson and its results are not touched.
void LoadReforco(const TReforcoSetting& setting, const std::string& profilePath);
