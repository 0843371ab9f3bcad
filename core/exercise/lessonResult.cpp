#include "core/exercise/lessonResult.h"

#include "core/exercise/history.h"
#include "core/exercise/judging.h"
#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/lockFile.h"
#include "core/platform/pathText.h"
#include "core/storage/convert.h"
#include "core/storage/profileKeys.h"
#include "core/storage/settings.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>

namespace fs = std::filesystem;

namespace {
// A store takes milliseconds; a lock older than this was left by a process killed on another machine.
constexpr int kStoreStaleSeconds = 10;
constexpr int kStoreWaitMs = (kStoreStaleSeconds + 1) * 1000;

// A key of the Config section as the settings reader answers it: its default when missing or empty.
std::string storedOr(const std::map<std::string, std::string>& values, const char* key,
                     const char* fallback) {
    const auto it = values.find(IniValueKey(keys::Config, key));
    return it == values.end() || it->second.empty() ? std::string(fallback) : it->second;
}

long long Milliseconds(double dayFraction) {
    return std::llround(dayFraction * 86400000.0);
}

// A total past the largest whole number would be refused by every later read, and the file would
// never record again: totals stop there.
std::string addCount(const std::map<std::string, std::string>& values, const char* key, std::int64_t count) {
    const std::int64_t old = StrToInt(storedOr(values, key, keys::CountDefault));
    return IntToStr(std::clamp<std::int64_t>(old + count, INT32_MIN, INT32_MAX));
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

bool AccumulateResults(const std::string& settingsFile, const TExerciseState& state,
                       const std::vector<TSettingValue>& alsoStore) {
    SelectSettingsFile(settingsFile);
    // Every new value is worked out before anything is written, and all go in one write: a kill, a
    // failure or a value that does not parse leaves the file with the whole exercise or none of it.
    int error = 0;
    const auto text = ReadWholeFile(PathFromUtf8(CurrentSettingsFile), &error);
    if (!text && error != ENOENT)
        return false;
    const auto values = text ? IniAllValues(*text) : std::map<std::string, std::string>();
    const int percentage = RightPercentage(state);
    std::vector<TSettingValue> writes = alsoStore;
    writes.push_back({keys::Config, keys::WordOK, addCount(values, keys::WordOK, state.WordsRight)});
    writes.push_back({keys::Config, keys::WordErr, addCount(values, keys::WordErr, state.WordsWrong)});
    writes.push_back({keys::Config, keys::CharOK, addCount(values, keys::CharOK, state.LettersRight)});
    writes.push_back({keys::Config, keys::CharErr, addCount(values, keys::CharErr, state.LettersWrong)});
    const double total = StrToTime(storedOr(values, keys::TempoTotal, keys::TimeDefault));
    writes.push_back({keys::Config, keys::TempoTotal, TimeToStr(total + state.FinalElapsed)});
    const std::int64_t porcent = StrToInt(storedOr(values, keys::Porcent, keys::PorcentDefault));
    writes.push_back({keys::Config, keys::Porcent, IntToStr((porcent + percentage) / 2)});
    return WriteSettings(writes);
}

TSettingValue NextLessonUnlock(int lessonNumber) {
    return {keys::AulaPrefix + IntToStr(lessonNumber + 1), keys::Habilitado, "1"};
}

std::string HistoryFile(const std::string& profilePath) {
    return PathToUtf8(HistoryFileIn(ProgramFolder(), FileNamePart(profilePath)));
}

std::string StudentLockFile(const std::string& profilePath) {
    const fs::path profile = PathFromUtf8(profilePath);
    return PathToUtf8(profile.parent_path() / PathFromUtf8("." + FileNamePart(profilePath) + ".trava"));
}

std::string StudentMarkFile(const std::string& profilePath) {
    const fs::path profile = PathFromUtf8(profilePath);
    return PathToUtf8(profile.parent_path() / PathFromUtf8("." + FileNamePart(profilePath) + ".sessao"));
}

bool StoreExercise(const std::string& profilePath, int lessonNumber, const TExerciseState& state,
                   const std::string& when) {
    // Each file is read and added to under the lock. A lock that cannot be had within the wait (a
    // holder killed on another machine, until the stale rule frees it) does not cost the exercise.
    const TFileLock lock(PathFromUtf8(StudentLockFile(profilePath)), kStoreWaitMs, kStoreStaleSeconds);
    std::vector<TSettingValue> unlock;
    if (LessonPassed(state))
        unlock.push_back(NextLessonUnlock(lessonNumber));
    bool stored = AccumulateResults(LessonResultFile(lessonNumber, profilePath), state);
    stored = AccumulateResults(profilePath, state, unlock) && stored;
    // The history holds the exercises the student's files hold: none that a failed write lost, and
    // none that a conversion error stopped above.
    if (stored)
        stored = AppendHistoryEntry(PathFromUtf8(HistoryFile(profilePath)),
                                    HistoryEntryOf(state, lessonNumber, when));
    return stored;
}
