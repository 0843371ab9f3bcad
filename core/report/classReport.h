#pragma once
#include "core/exercise/history.h"
#include "core/report/classActivity.h"

#include <filesystem>
#include <string>
#include <vector>

// The class report's data: what the teacher's report shows of the students' files, read without ever
// writing them (the course's own readers store their defaults; these only look). Texts are UTF-8.

struct DataEnvironment;
struct DataPlaces;

// The folder the course keeps its students, lesson files and lesson results in.
std::filesystem::path ReportDataFolder();

// Why the report reads another folder than the course's first choice (empty when it does not).
void SetReportNotice(std::string notice);
const std::string& ReportNotice();

// The report's data places: the folders the course may use, in the course's order (the named one, the
// program's own, the shared one, the user's own), taking the first whose users/ can be read, whether
// or not it can be written. Nothing is made. The notice says why another folder than the first was taken.
DataPlaces ReportDataPlaces(const std::filesystem::path& executableFolder,
                            const DataEnvironment& environment);

// A figure against its goal (the accuracy against the lesson's minimum; a situation against keeping up),
// for a colour behind the text, which always says it too.
enum class TGoalMark { None, Below, At, Above };

// One cell of a table as shown and exported: its text, the reason when the value could not be read
// (the text is then "—"), and how it sorts.
struct TReportCell {
    std::string Text;
    std::string Problem;
    bool Numeric = false;
    double Number = 0.0; // sort key of a numeric cell
    std::string Note;    // where a readable figure comes from, when that needs saying (a tool tip)
    TGoalMark Mark = TGoalMark::None;
};
inline constexpr const char* kUnreadable = "\xE2\x80\x94"; // "—"

// Figures to the right; a text that sorts by a number (the situation) reads from the left.
inline bool AlignedRight(const TReportCell& cell) {
    return cell.Numeric && cell.Problem.empty() &&
           !(cell.Text.size() > 0 &&
             ((cell.Text[0] >= 'A' && cell.Text[0] <= 'Z') || (cell.Text[0] >= 'a' && cell.Text[0] <= 'z')));
}

// Sort order of one column: an unreadable cell comes before every readable one; numbers by value;
// texts without regard to letter case or accents, then as they are. Negative, zero or positive.
int CompareCells(const TReportCell& a, const TReportCell& b);

// Lower case without accents, for comparing and filtering names ("João" gives "joao").
std::string FoldForSearch(const std::string& utf8);
// True when the name holds the filter text, letter case and accents aside; an empty filter takes all.
bool NameMatchesFilter(const std::string& utf8Name, const std::string& utf8Filter);

// What the report takes from a lesson file.
struct TLessonFacts {
    std::string Title;
    std::string Problem;     // the lesson file could not be read
    TReportCell Minimum;     // minimum percentage
    TReportCell TimeAllowed; // hh:mm:ss
};

// ---- The class table: one row per profile in users/.

// The columns, with the period's three at the end when a period is chosen.
const std::vector<std::string>& ClassColumns(bool withPeriod = false);
// Columns the windows treat apart.
inline constexpr std::size_t kNameColumn = 0;
inline constexpr std::size_t kLessonsDoneColumn = 3;
inline constexpr std::size_t kCurrentLessonColumn = 4;
inline constexpr std::size_t kAccuracyColumn = 9;
inline constexpr std::size_t kLastExerciseColumn = 13;
inline constexpr std::size_t kSituationColumn = 14;
inline constexpr std::size_t kReforcoColumn = 15;

struct TStudentRow {
    std::string Name;               // the profile's file name
    std::filesystem::path Profile;  // its path
    std::string FileProblem;        // the whole profile could not be read
    std::vector<TReportCell> Cells; // one per column of ClassColumns()
    bool Administrator = false;     // level 0
    int Layout = 0;                 // the keyboard: 0 American (or ABNT I), 1 ABNT2
    // What the student's page also needs from the profile.
    std::vector<bool> Unlocked;      // [N] for N = 0..25: flag Habilitado of Aula<N> (0 unused)
    std::vector<TReportCell> Totals; // the course totals as in the row's columns 5 to 10
    TSituationKind Situation = TSituationKind::UpToDate; // as the situation column says it
    // From the history, read once for the row: the slips by key over all of it, and why it could not be
    // read (empty when it could, or when there is none).
    TKeySum Keys;
    std::string HistoryProblem;
};
// The profile's cells; the columns from the history are added by AddHistoryCells.
TStudentRow ReadStudentRow(const std::filesystem::path& profile);

// The Reforço exercises of a history (kept out of every lesson's figures), as the class table's
// Reforços column shows them.
TReportCell ReforcoCell(const THistory& history);
// How the class is looked at: a period (or none), the date taken as today, the lessons' minimums.
struct TClassView {
    TReportPeriod Period;
    TDay Today = 0;
    std::vector<TLessonFacts> Lessons; // empty: no minimum to hold the accuracy against
};
// The student's history read as the class table needs it (every line, memory flat): the course's
// time and keys per minute from the history where it holds every exercise, the accuracy against the
// current lesson's minimum, the latest exercise's date, the situation and the period's figures.
void AddHistoryCells(TStudentRow& row, const std::filesystem::path& dataFolder, const TClassView& view);
// Every ordinary file in dataFolder/users, by name; nothing when the folder is missing. With a view,
// each row has its history's cells too (without one, today is the machine's date and no period).
std::vector<TStudentRow> ReadClass(const std::filesystem::path& dataFolder,
                                   std::string* folderProblem = nullptr, const TClassView* view = nullptr);

// ---- The report's access: an administrator's name and password, checked without writing anything.
// The built-in administrator only while users/ holds no administrator (a missing registry marker does
// not let it in once one exists).
bool ClassHasAdministrator(const std::filesystem::path& dataFolder);
struct TAccessVerdict {
    bool Granted = false;
    std::string Name;    // the profile's file name as stored
    std::string Message; // why not, as the access dialog says it
};
TAccessVerdict CheckReportAccess(const std::filesystem::path& dataFolder, const std::string& utf8Name,
                                 const std::string& utf8Password);

// ---- A student's page: the 24 lessons.

// aulas/aula1.aul to aula24.aul of the data folder; unreadable ones carry their reason.
std::vector<TLessonFacts> ReadLessonFacts(const std::filesystem::path& dataFolder);

const std::vector<std::string>& LessonColumns();
// 24 rows of cells for LessonColumns(): the lesson's figures from its result file beside the lesson's
// minimum and time allowed, and whether it was passed (the next lesson unlocked). The accuracy comes
// from the lesson's keys right and wrong; the time and keys per minute from the history's sum where the
// history holds every exercise of the lesson (the stored time wraps at 24 hours), else as stored.
std::vector<std::vector<TReportCell>> StudentLessonRows(const std::filesystem::path& dataFolder,
                                                        const TStudentRow& student,
                                                        const std::vector<TLessonFacts>& lessons,
                                                        const THistory* history = nullptr);
// The course's total time and keys per minute, from the history where it holds every exercise.
std::vector<TReportCell> CourseTimeAndSpeed(const TStudentRow& student, const THistory& history);
// Right keys over all keys, rounded down as the course does; "—" with a reason when there are none or
// the counts are out of range.
TReportCell AccuracyCell(const TReportCell& right, const TReportCell& wrong);

// ---- Export: ";" between fields, decimal comma, CR LF, UTF-8 with a byte-order mark. A text that a
// spreadsheet would take for a formula (first character =, +, -, @, tab or CR) gets an apostrophe first;
// numbers stay numbers. Bytes that are not UTF-8 become U+FFFD.
std::string CsvField(const std::string& text, bool number = false);
std::string CsvDocument(const std::vector<std::string>& header,
                        const std::vector<std::vector<TReportCell>>& rows);
std::string ClassCsv(const std::vector<TStudentRow>& students, bool withPeriod = false);
// A student's lessons with the student's name in a first column, so a file stands on its own.
std::string StudentCsv(const std::string& name, const std::vector<std::vector<TReportCell>>& lessonRows);
// A number with the given digits after the decimal comma.
std::string DecimalComma(double value, int digits);
