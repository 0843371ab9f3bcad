#include "exercise/lessonResult.h"

#include "exercise/history.h"
#include "exercise/judging.h"
#include "platform/programFolder.h"
#include "storage/convert.h"
#include "storage/profileKeys.h"
#include "storage/settings.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {
long long Milliseconds(double dayFraction) {
    return std::llround(dayFraction * 86400000.0);
}

// A total past the largest whole number would be refused by every later read, and the file would
// never record again: totals stop there.
bool AddCount(const char* key, std::int64_t count) {
    const std::int64_t old = StrToInt(ReadSetting(keys::Config, key, keys::CountDefault));
    const std::int64_t sum = std::clamp<std::int64_t>(old + count, INT32_MIN, INT32_MAX);
    return WriteSetting(keys::Config, key, IntToStr(sum));
}
} // namespace

bool LessonPassed(const TExerciseState& state) {
    // Differences of clock readings carry floating-point noise: a time equal to the one allowed must
    // not fail by a fraction of a microsecond.
    return Milliseconds(state.ExpectedTime) >= Milliseconds(state.FinalElapsed) &&
           RightPercentage(state) >= state.MinimumPercent;
}

std::string LessonResultFile(int lessonNumber, const std::string& profilePath) {
    const std::string name = files::LessonResultFile(lessonNumber, FileNamePart(profilePath));
    return PathToUtf8(ProgramFolder() / files::LessonsFolder / PathFromUtf8(name));
}

bool AccumulateResults(const std::string& settingsFile, const TExerciseState& state) {
    SelectSettingsFile(settingsFile);
    const int percentage = RightPercentage(state);
    bool stored = AddCount(keys::WordOK, state.WordsRight);
    stored = AddCount(keys::WordErr, state.WordsWrong) && stored;
    stored = AddCount(keys::CharOK, state.LettersRight) && stored;
    stored = AddCount(keys::CharErr, state.LettersWrong) && stored;
    const double total = StrToTime(ReadSetting(keys::Config, keys::TempoTotal, keys::TimeDefault));
    stored = WriteSetting(keys::Config, keys::TempoTotal, TimeToStr(total + state.FinalElapsed)) && stored;
    const std::int64_t porcent = StrToInt(ReadSetting(keys::Config, keys::Porcent, keys::PorcentDefault));
    return WriteSetting(keys::Config, keys::Porcent, IntToStr((porcent + percentage) / 2)) && stored;
}

bool UnlockNextLesson(const std::string& profilePath, int lessonNumber) {
    SelectSettingsFile(profilePath);
    return WriteSettingFlag(keys::AulaPrefix + IntToStr(lessonNumber + 1), keys::Habilitado, true);
}

std::string HistoryFile(const std::string& profilePath) {
    return PathToUtf8(HistoryFileIn(ProgramFolder(), FileNamePart(profilePath)));
}
