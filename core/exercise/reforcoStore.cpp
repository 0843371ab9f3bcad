#include "core/exercise/history.h"
#include "core/exercise/lessonResult.h"
#include "core/exercise/reforco.h"
#include "core/platform/pathText.h"

bool StoreReforco(const std::string& profilePath, int lessonNumber, const TExerciseState& state,
                  const std::string& when) {
    // Under the student's lock, as a lesson's exercise: a Reforço's line must not cut into a line another
    // machine appends for the same student, and a journal a killed store left is completed first, so the
    // line never goes in before the exercise it follows.
    const TStudentLock lock(profilePath);
    if (!lock.Clear())
        return false;
    THistoryEntry entry = HistoryEntryOf(state, lessonNumber, when);
    entry.Reforco = true;
    return AppendHistoryEntry(PathFromUtf8(HistoryFile(profilePath)), entry);
}
