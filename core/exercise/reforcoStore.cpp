#include "core/exercise/history.h"
#include "core/exercise/lessonResult.h"
#include "core/exercise/reforco.h"
#include "core/platform/lockFile.h"
#include "core/platform/pathText.h"

namespace {
// The same lock and the same patience as the store of a lesson's exercise: a Reforço's line must not
// cut into a line another machine appends for the same student.
constexpr int kStaleSeconds = 10;
constexpr int kWaitMs = (kStaleSeconds + 1) * 1000;
} // namespace

bool StoreReforco(const std::string& profilePath, int lessonNumber, const TExerciseState& state,
                  const std::string& when) {
    const TFileLock lock(PathFromUtf8(StudentLockFile(profilePath)), kWaitMs, kStaleSeconds);
    THistoryEntry entry = HistoryEntryOf(state, lessonNumber, when);
    entry.Reforco = true;
    return AppendHistoryEntry(PathFromUtf8(HistoryFile(profilePath)), entry);
}
