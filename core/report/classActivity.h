#pragma once
#include "core/exercise/history.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What a student did and when, from the exercise history: the date of the latest exercise, who needs the
// teacher (the situation) and what was done in a period of dates. Dates are whole days; "today" is
// always passed in, so that every rule here is a function of its arguments.

using TDay = std::int64_t; // days since 1970-01-01

// "AAAA-MM-DD", a date that exists; nothing for anything else.
std::optional<TDay> ParseIsoDate(std::string_view text);
// The date of a history line's time as written there: its own local date, whatever its offset says.
std::optional<TDay> HistoryDay(std::string_view when);
std::string IsoDate(TDay day);       // AAAA-MM-DD
std::string BrazilianDate(TDay day); // dd/mm/aaaa
TDay LocalToday();                   // the machine's date

// A period of dates, both ends included; an end left out is open. No end at all: no period.
struct TReportPeriod {
    std::optional<TDay> From;
    std::optional<TDay> To;
    bool Active() const { return From.has_value() || To.has_value(); }
    bool Contains(TDay day) const { return (!From || day >= *From) && (!To || day <= *To); }
};

// A history gathered exercise by exercise (in the file's order). Only lesson exercises count: a Reforço
// practice is no lesson exercise.
struct TStudentActivity {
    std::int64_t Exercises = 0;
    std::optional<TDay> LastDay; // of the latest exercise (the last one written); none when unreadable
    std::string LastWhen;
    int RunLesson = 0;            // the lesson of the latest exercises...
    std::int64_t RunFailures = 0; // ...and how many of them in a row, up to the latest, failed it
    std::int64_t PeriodExercises = 0;
    std::int64_t PeriodSeconds = 0;
    std::array<bool, 25> PassedInPeriod{}; // [lesson]: an exercise of it passed in the period

    void Add(const THistoryEntry& entry, const TReportPeriod& period);
    int PeriodLessonsPassed() const;
};

inline constexpr TDay kStoppedDays = 14;       // no exercise for this long: stopped
inline constexpr std::int64_t kStuckTries = 3; // failed this often in a row: stuck

// Who needs the teacher first: the order a sort by situation goes in.
enum class TSituationKind { Stuck = 1, Stopped = 2, NoExercises = 3, UpToDate = 4 };
struct TSituation {
    TSituationKind Kind = TSituationKind::UpToDate;
    std::string Text;
    std::string Note;   // a tool tip where the text needs explaining
    double SortKey = 0; // by kind, then the longest stop or the most tries first
};
// The first that applies: no exercise in the history nor in the totals; stopped for kStoppedDays or
// more; the latest kStuckTries or more exercises all of one lesson and all failed; up to date.
// `historyMissing`: there is no history file (exercises done before the course kept one).
TSituation SituationOf(const TStudentActivity& activity, bool historyMissing, bool totalsHaveExercises,
                       TDay today);
