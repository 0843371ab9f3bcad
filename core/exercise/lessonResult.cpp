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
#include <cstdlib>
#include <map>
#include <optional>

namespace fs = std::filesystem;

namespace {
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

namespace {
// The new totals of a settings file holding `text` after the exercise, with the keys of alsoStore
// first: worked out whole before anything is written. A stored value that does not parse throws.
std::vector<TSettingValue> accumulated(const std::optional<std::string>& text, const TExerciseState& state,
                                       const std::vector<TSettingValue>& alsoStore) {
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
    return writes;
}
} // namespace

bool AccumulateResults(const std::string& settingsFile, const TExerciseState& state,
                       const std::vector<TSettingValue>& alsoStore) {
    SelectSettingsFile(settingsFile);
    // Every new value is worked out before anything is written, and all go in one write: a kill, a
    // failure or a value that does not parse leaves the file with the whole exercise or none of it.
    int error = 0;
    const auto text = ReadWholeFile(PathFromUtf8(CurrentSettingsFile), &error);
    if (!text && error != ENOENT)
        return false;
    return WriteSettings(accumulated(text, state, alsoStore));
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

std::string StudentJournalFile(const std::string& profilePath) {
    const fs::path profile = PathFromUtf8(profilePath);
    return PathToUtf8(profile.parent_path() / PathFromUtf8("." + FileNamePart(profilePath) + ".diario"));
}

namespace {

// The journal: a first line naming the format, then one "name=value" line each (CR LF):
//   velotecla-diario 1
//   aula=3                           the lesson, whose result file takes the "aulas|" values
//   historico=1234                   the history's size before the line (0: no history yet)
//   linha=2026-12-09T14:05:31-03:00;3;10;...   the history line, as HistoryLine makes it
//   aulas|Config|WordOK=10           a value of the lesson result file (section|key=value)
//   perfil|Aula4|Habilitado=1        a value of the profile
// Values are the files' new values, not additions: writing them twice is writing them once.
constexpr const char* kJournalFormat = "velotecla-diario 1";

struct TJournal {
    int Lesson = 0;
    std::uintmax_t HistorySize = 0;
    std::string Line;
    std::vector<TSettingValue> LessonValues;
    std::vector<TSettingValue> ProfileValues;
};

std::string journalText(const TJournal& j) {
    std::string text = std::string(kJournalFormat) + "\r\naula=" + std::to_string(j.Lesson) +
                       "\r\nhistorico=" + std::to_string(j.HistorySize) + "\r\nlinha=" + j.Line + "\r\n";
    for (const auto& [file, values] :
         {std::pair{"aulas", &j.LessonValues}, std::pair{"perfil", &j.ProfileValues}})
        for (const TSettingValue& v : *values)
            text += std::string(file) + "|" + v.Section + "|" + v.Key + "=" + v.Value + "\r\n";
    return text;
}

// nullopt for anything that is not a whole journal of this format (written by someone else).
std::optional<TJournal> parseJournal(const std::string& text) {
    TJournal j;
    bool lesson = false, size = false, line = false;
    std::size_t at = 0;
    bool first = true;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos)
            return std::nullopt; // every line ends: a journal is written whole
        const std::string row = text.substr(at, end - at);
        at = end + 2;
        if (first) {
            if (row != kJournalFormat)
                return std::nullopt;
            first = false;
            continue;
        }
        const std::size_t eq = row.find('=');
        if (eq == std::string::npos)
            return std::nullopt;
        const std::string name = row.substr(0, eq);
        const std::string value = row.substr(eq + 1);
        if (name == "aula") {
            char* stop = nullptr;
            const long n = std::strtol(value.c_str(), &stop, 10);
            if (value.empty() || *stop != '\0' || n < 1 || n > 100)
                return std::nullopt;
            j.Lesson = static_cast<int>(n);
            lesson = true;
        } else if (name == "historico") {
            char* stop = nullptr;
            j.HistorySize = std::strtoull(value.c_str(), &stop, 10);
            if (value.empty() || *stop != '\0' || value.front() == '-')
                return std::nullopt;
            size = true;
        } else if (name == "linha") {
            j.Line = value;
            line = !value.empty();
        } else {
            const std::size_t bar1 = name.find('|');
            const std::size_t bar2 = bar1 == std::string::npos ? bar1 : name.find('|', bar1 + 1);
            if (bar2 == std::string::npos)
                return std::nullopt;
            const std::string file = name.substr(0, bar1);
            TSettingValue v{name.substr(bar1 + 1, bar2 - bar1 - 1), name.substr(bar2 + 1), value};
            if (file == "aulas")
                j.LessonValues.push_back(v);
            else if (file == "perfil")
                j.ProfileValues.push_back(v);
            else
                return std::nullopt;
        }
    }
    if (!lesson || !size || !line)
        return std::nullopt;
    return j;
}

std::string reasonOf(int error) {
    return SystemErrorTextPt(error ? error : EIO);
}

std::string shown(const std::string& path) {
    const fs::path p = PathFromUtf8(path).lexically_normal();
    const fs::path rel = p.lexically_relative(ProgramFolder().lexically_normal());
    return PathToUtf8(!rel.empty() && *rel.begin() != ".." ? rel : p);
}

// Gives every file the journal's exercise, each step only once however often it is run; the journal
// goes when all three hold it. Empty when done; otherwise what could not be written, and why.
std::string completeJournal(const std::string& profilePath, const std::string& journalFile,
                            const TJournal& j) {
    int error = 0;
    // A student removed since (the profile gone) gets no profile made again from a journal.
    if (!ReadWholeFile(PathFromUtf8(profilePath), &error) && error == ENOENT) {
        RemoveDataFile(PathFromUtf8(journalFile));
        return {};
    }
    const std::string lessonFile = LessonResultFile(j.Lesson, profilePath);
    errno = 0;
    if (!IniWriteValues(PathFromUtf8(lessonFile), j.LessonValues))
        return "o arquivo de resultados \"" + shown(lessonFile) + "\" não pôde ser gravado (" +
               reasonOf(errno) + ")";
    errno = 0;
    if (!IniWriteValues(PathFromUtf8(profilePath), j.ProfileValues))
        return "o perfil \"" + shown(profilePath) + "\" não pôde ser gravado (" + reasonOf(errno) + ")";
    // The line is in the history when the history has grown past its size then and ends with it.
    const fs::path history = PathFromUtf8(HistoryFile(profilePath));
    const std::string ending = j.Line + "\r\n";
    const auto end = ReadDataFileEnd(history, ending.size(), &error);
    if (!end && error != ENOENT)
        return "o histórico \"" + shown(HistoryFile(profilePath)) + "\" não pôde ser lido (" +
               reasonOf(error) + ")";
    if (!(end && end->Size > j.HistorySize && end->Last == ending)) {
        errno = 0;
        if (!AppendHistoryLine(history, j.Line))
            return "o histórico \"" + shown(HistoryFile(profilePath)) + "\" não pôde ser gravado (" +
                   reasonOf(errno) + ")";
    }
    RemoveDataFile(PathFromUtf8(journalFile));
    return {};
}

} // namespace

TStudentLock::TStudentLock(const std::string& profilePath, int waitMilliseconds)
    : m_lock(PathFromUtf8(StudentLockFile(profilePath)), waitMilliseconds, kStudentLockStaleSeconds),
      m_problem(m_lock.Problem()) {
    // Held by another writer all along (the lock kept changing hands): nothing is stored beside it, and
    // a journal is left to whoever holds the lock.
    if (m_lock.Busy()) {
        m_clear = false;
        return;
    }
    const std::string journalFile = StudentJournalFile(profilePath);
    int error = 0;
    const auto text = ReadWholeFile(PathFromUtf8(journalFile), &error);
    if (!text) {
        if (error == ENOENT)
            return;
        // Something planted in its place: nothing can be stored while it blocks the journal.
        m_clear = false;
        m_problem = "O diário \"" + shown(journalFile) + "\" não pode ser lido (" + reasonOf(error) +
                    "); peça ao técnico que o remova.";
        return;
    }
    const auto journal = parseJournal(*text);
    if (!journal) { // not a journal of this program's: the next one is written over it
        return;
    }
    if (std::string failed = completeJournal(profilePath, journalFile, *journal); !failed.empty()) {
        m_clear = false;
        m_problem = "O exercício anterior ainda não está em todos os arquivos: " + failed + ".";
    }
}

TStoreResult StoreExercise(const std::string& profilePath, int lessonNumber, const TExerciseState& state,
                           const std::string& when) {
    // The lock is taken, or settled at once when it cannot be (and said); a store a kill left half-way
    // is completed first.
    const TStudentLock lock(profilePath);
    TStoreResult result;
    const std::string notKept = "O exercício não foi guardado: ";
    if (!lock.Clear()) {
        result.Problem = "O exercício não foi guardado. " + lock.Problem();
        return result;
    }
    // Every new value is worked out before anything is written; a value that does not parse stops
    // here (VtError) with every file as it was.
    int error = 0;
    const std::string lessonFile = LessonResultFile(lessonNumber, profilePath);
    const auto lessonText = ReadWholeFile(PathFromUtf8(lessonFile), &error);
    if (!lessonText && error != ENOENT) {
        result.Problem = notKept + "o arquivo de resultados \"" + shown(lessonFile) +
                         "\" não pode ser lido (" + reasonOf(error) + ").";
        return result;
    }
    const auto profileText = ReadWholeFile(PathFromUtf8(profilePath), &error);
    if (!profileText) {
        result.Problem =
            notKept + "o perfil \"" + shown(profilePath) + "\" não pode ser lido (" + reasonOf(error) + ").";
        return result;
    }
    const fs::path history = PathFromUtf8(HistoryFile(profilePath));
    const auto historyEnd = ReadDataFileEnd(history, 0, &error);
    if (!historyEnd && error != ENOENT) {
        result.Problem = notKept + "o histórico \"" + shown(HistoryFile(profilePath)) +
                         "\" não pode ser lido (" + reasonOf(error) + ").";
        return result;
    }
    TJournal journal;
    journal.Lesson = lessonNumber;
    journal.HistorySize = historyEnd ? historyEnd->Size : 0;
    journal.Line = HistoryLine(HistoryEntryOf(state, lessonNumber, when));
    journal.LessonValues = accumulated(lessonText, state, {});
    std::vector<TSettingValue> unlock;
    if (LessonPassed(state))
        unlock.push_back(NextLessonUnlock(lessonNumber));
    journal.ProfileValues = accumulated(profileText, state, unlock);

    const std::string journalFile = StudentJournalFile(profilePath);
    errno = 0;
    if (!WriteFileAtomically(PathFromUtf8(journalFile), journalText(journal))) {
        result.Problem = notKept + "o diário \"" + shown(journalFile) + "\" não pôde ser gravado (" +
                         reasonOf(errno) + ").";
        return result;
    }
    if (std::string failed = completeJournal(profilePath, journalFile, journal); !failed.empty()) {
        result.Problem =
            "O exercício não foi guardado por inteiro: " + failed +
            ". Ele será completado quando o aluno entrar de novo, se o arquivo puder ser gravado.";
        return result;
    }
    result.Stored = true;
    result.Problem =
        lock.Problem().empty() ? std::string() : "O exercício foi guardado sem a trava. " + lock.Problem();
    return result;
}
