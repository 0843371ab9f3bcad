#pragma once
#include "core/exercise/exerciseState.h"

#include "core/platform/iniFile.h"
#include "core/platform/lockFile.h"
#include "core/storage/settings.h"

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

// Beside the profile, hidden from the roster: the lock taken while a student's files are written (so
// that two machines writing the same student's files never lose each other's), the mark left while the
// student does lessons (so that another machine can tell them so), and the journal of a store under way.
std::string StudentLockFile(const std::string& profilePath);
std::string StudentMarkFile(const std::string& profilePath);
std::string StudentJournalFile(const std::string& profilePath);

// The student's lock, taken as every writer of the student's files takes it, and held while this lives.
// A store that a kill (or a failed write) left half-way is completed first, from its journal, whoever
// takes the lock next: this machine or another, at log-in, at a store, or for a writer of its own (a
// Reforço's history line: take this, then append).
class TStudentLock {
public:
    // The log-in waits briefly (a lock in use there is seen again, and judged, at the next store).
    explicit TStudentLock(const std::string& profilePath, int waitMilliseconds = kStudentLockWaitMs);
    bool Held() const { return m_lock.Held(); }
    // False while a journal remains that could not be completed, or another writer held the lock all
    // through the wait: nothing more may be stored then.
    bool Clear() const { return m_clear; }
    // Why the lock is not held, or what of the journal could not be completed (Portuguese sentences);
    // empty when all is well.
    const std::string& Problem() const { return m_problem; }

private:
    TFileLock m_lock;
    bool m_clear = true;
    std::string m_problem;
};

// What became of a store: true when every file holds the exercise; Problem says in Portuguese what was
// not kept and why, or what the store went without (a lock it could not use); empty when all is well.
struct TStoreResult {
    bool Stored = false;
    std::string Problem;
    explicit operator bool() const { return Stored; }
};

// Stores a finished exercise of lesson N under the student's lock. The whole outcome (the values the
// lesson result file and the profile will hold, with the next lesson's unlocking when passed, and the
// history line) is first written whole into the journal; then the lesson result file, the profile and
// the history take it, each in one write; then the journal goes. Nothing is written when a stored
// value does not parse (VtError) or the journal cannot be written.
TStoreResult StoreExercise(const std::string& profilePath, int lessonNumber, const TExerciseState& state,
                           const std::string& when);
