#include "core/report/classActivity.h"

#include "core/platform/tickCounter.h"

#include <cstdio>
#include <ctime>

namespace {

// Dates are counted as the history counts them (DaysFromCivil), and back.

struct Civil {
    std::int64_t year;
    unsigned month;
    unsigned day;
};
Civil civilFromDays(TDay z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

int digits(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// The date at the start of the text (AAAA-MM-DD), when it is one that exists.
std::optional<TDay> leadingDate(std::string_view text) {
    if (text.size() < 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const int y = digits(text, 0, 4);
    const int m = digits(text, 5, 2);
    const int d = digits(text, 8, 2);
    if (y < 1 || m < 1 || m > 12 || d < 1)
        return std::nullopt;
    const TDay day = DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d));
    // 31 February comes back as another month.
    if (civilFromDays(day).month != static_cast<unsigned>(m))
        return std::nullopt;
    return day;
}

} // namespace

std::optional<TDay> ParseIsoDate(std::string_view text) {
    return text.size() == 10 ? leadingDate(text) : std::nullopt;
}

std::optional<TDay> HistoryDay(std::string_view when) {
    // The course writes its local time and the offset beside it: the date is the one the student's
    // machine showed. Read as such, an exercise is on the day the student saw, in any time zone.
    return when.size() > 10 && when[10] == 'T' ? leadingDate(when) : std::nullopt;
}

std::string IsoDate(TDay day) {
    const Civil c = civilFromDays(day);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(c.year), c.month, c.day);
    return text;
}

std::string BrazilianDate(TDay day) {
    const Civil c = civilFromDays(day);
    char text[48];
    std::snprintf(text, sizeof text, "%02u/%02u/%04lld", c.day, c.month, static_cast<long long>(c.year));
    return text;
}

TDay LocalToday() {
    const std::tm local = LocalTime(std::time(nullptr));
    return DaysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                         static_cast<unsigned>(local.tm_mday));
}

void TStudentActivity::Add(const THistoryEntry& e, const TReportPeriod& period) {
    if (e.Reforco)
        return;
    ++Exercises;
    LastDay = HistoryDay(e.When);
    LastWhen = e.When;
    // A pass, or another lesson, starts the run again.
    if (e.Passed || e.Lesson != RunLesson)
        RunFailures = 0;
    RunLesson = e.Lesson;
    RunFailures += e.Passed ? 0 : 1;
    if (!period.Active() || !LastDay || !period.Contains(*LastDay))
        return;
    ++PeriodExercises;
    PeriodSeconds += e.Seconds;
    if (e.Passed && e.Lesson >= 1 && e.Lesson <= 24)
        PassedInPeriod[static_cast<std::size_t>(e.Lesson)] = true;
}

int TStudentActivity::PeriodLessonsPassed() const {
    int n = 0;
    for (bool passed : PassedInPeriod)
        n += passed ? 1 : 0;
    return n;
}

TSituation SituationOf(const TStudentActivity& a, bool historyMissing, bool totalsHaveExercises, TDay today) {
    TSituation s;
    if (a.Exercises == 0 && !totalsHaveExercises) {
        s.Kind = TSituationKind::NoExercises;
        s.Text = "Sem exercícios";
    } else if (a.LastDay && today - *a.LastDay >= kStoppedDays) {
        const TDay days = today - *a.LastDay;
        s.Kind = TSituationKind::Stopped;
        s.Text = "Parado há " + std::to_string(days) + " dias";
        s.Note = "Último exercício em " + BrazilianDate(*a.LastDay);
        s.SortKey = -static_cast<double>(days);
    } else if (a.RunFailures >= kStuckTries) {
        s.Kind = TSituationKind::Stuck;
        s.Text = "Aula " + std::to_string(a.RunLesson) + ": " + std::to_string(a.RunFailures) +
                 " tentativas sem passar";
        s.SortKey = -static_cast<double>(a.RunFailures);
    } else {
        s.Kind = TSituationKind::UpToDate;
        s.Text = "Em dia";
        if (a.Exercises == 0 && historyMissing)
            s.Note = "Sem histórico: os exercícios foram feitos antes de o curso guardar o histórico, "
                     "e a data do último não é conhecida";
        else if (a.Exercises > 0 && !a.LastDay)
            s.Note = "A data do último exercício no histórico não é uma data válida";
    }
    // Kinds apart by far more than any count of days or tries.
    s.SortKey += static_cast<double>(s.Kind) * 1e12;
    return s;
}
