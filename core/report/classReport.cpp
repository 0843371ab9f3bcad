#include "core/report/classReport.h"

#include "core/exercise/judging.h"
#include "core/lessons/lessonFile.h"
#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/iniFile.h"
#include "core/platform/pathText.h"
#include "core/platform/vtError.h"
#include "core/storage/convert.h"
#include "core/storage/password.h"
#include "core/storage/profileKeys.h"
#include "core/storage/studentName.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

namespace fs = std::filesystem;

// The course's writable data folder, as the data places found it at start-up.
fs::path ReportDataFolder() {
    return ProgramFolder();
}

namespace {
std::string g_reportNotice;
} // namespace

void SetReportNotice(std::string notice) {
    g_reportNotice = std::move(notice);
}
const std::string& ReportNotice() {
    return g_reportNotice;
}

DataPlaces ReportDataPlaces(const fs::path& executableFolder, const DataEnvironment& env) {
    DataPlaces places;
    std::error_code ec;
    const bool portableData = fs::is_directory(executableFolder / files::LessonsFolder, ec);
    places.installed =
        portableData ? executableFolder : (executableFolder / env.installedData).lexically_normal();
    places.modules =
        portableData ? executableFolder : (executableFolder / env.installedModules).lexically_normal();
    // No home: no per-user folder, as for the course (a fixed one in the temporary folder could be
    // anyone's).
    const fs::path userFolder = env.userFolder.empty() ? fs::path() : env.userFolder / "velotecla";
    std::vector<std::pair<fs::path, DataMode>> candidates;
    std::string skipped;
    // A relative name would be taken in whatever folder the report was started from: the course
    // refuses it too, and uses the user's own folder.
    if (!env.namedFolder.empty() && !PathFromUtf8(env.namedFolder).is_absolute())
        skipped = std::string("O valor de ") + kDataFolderVariable + ", \"" + env.namedFolder +
                  "\", não é um caminho completo e não é usado. ";
    else if (!env.namedFolder.empty())
        candidates.emplace_back(PathFromUtf8(env.namedFolder), DataMode::Named);
    else if (portableData)
        candidates.emplace_back(executableFolder, DataMode::Portable);
    if (env.namedFolder.empty() && !env.sharedFolder.empty())
        candidates.emplace_back(env.sharedFolder, DataMode::Installed);
    if (!userFolder.empty())
        candidates.emplace_back(userFolder, env.namedFolder.empty() ? DataMode::Installed : DataMode::Named);
    for (const auto& [folder, mode] : candidates) {
        const fs::path users = folder / files::UsersFolder;
        fs::directory_iterator probe(users, ec);
        if (!ec) {
            places.mode = mode;
            places.dataFolder = folder;
            places.shared = folder == env.sharedFolder;
            if (!skipped.empty())
                places.notice = skipped + "Os alunos são lidos de " + PathToUtf8(users) + ".";
            return places;
        }
        skipped += "A pasta " + PathToUtf8(users) +
                   " não pôde ser lida: " + SystemErrorTextPt(ec.default_error_condition().value()) + ". ";
    }
    if (userFolder.empty()) {
        places.unusable = true;
        places.notice = skipped +
                        "Não há pasta de dados para este usuário: HOME e XDG_DATA_HOME não estão "
                        "definidas. Defina HOME (ou " +
                        kDataFolderVariable + ") e abra o programa de novo.";
        return places;
    }
    // None can be read: the first is the one the course would use; the window says why it is empty.
    places.mode = candidates.front().second;
    places.dataFolder = candidates.front().first;
    return places;
}

namespace {

int compareText(const std::string& a, const std::string& b) {
    const std::string fa = FoldForSearch(a);
    const std::string fb = FoldForSearch(b);
    if (fa != fb)
        return fa < fb ? -1 : 1;
    return a == b ? 0 : (a < b ? -1 : 1);
}

TReportCell textCell(std::string text) {
    TReportCell c;
    c.Text = std::move(text);
    return c;
}
TReportCell numberCell(double value, std::string text) {
    TReportCell c;
    c.Text = std::move(text);
    c.Numeric = true;
    c.Number = value;
    return c;
}
TReportCell numberCell(long long value) {
    return numberCell(static_cast<double>(value), std::to_string(value));
}
TReportCell badCell(std::string problem) {
    TReportCell c;
    c.Text = kUnreadable;
    c.Problem = std::move(problem);
    return c;
}
// "—" for a figure that has no value (none typed, no time), sorted below every figure.
TReportCell noFigure(std::string why) {
    TReportCell c = numberCell(-1, kUnreadable);
    c.Note = std::move(why);
    return c;
}

// A settings file read once, looked at key by key the way the course's readers see it: an absent or
// empty key is the reader's default (which the course would store; here nothing is written).
class SettingsView {
public:
    SettingsView(const std::string& text, std::string what)
        : m_values(IniAllValues(text)), m_what(std::move(what)) {}

    std::optional<std::string> value(const std::string& section, const std::string& key) const {
        const auto it = m_values.find(IniValueKey(section, key));
        return it == m_values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    std::string raw(const std::string& section, const std::string& key, const char* defaultValue) const {
        const auto v = value(section, key);
        return v && !v->empty() ? *v : std::string(defaultValue);
    }
    bool flag(const std::string& section) const {
        const auto v = value(section, keys::Habilitado);
        return v && !v->empty() && *v != "0";
    }
    TReportCell integer(const std::string& section, const char* key, const char* defaultValue) const {
        const std::string text = raw(section, key, defaultValue);
        if (const auto v = TryStrToInt(text))
            return numberCell(*v);
        return badCell(where(section, key) + " = \"" + Cp1252ToUtf8(text) + "\" não é um número inteiro");
    }
    TReportCell time(const std::string& section, const char* key) const {
        const std::string text = raw(section, key, keys::TimeDefault);
        try {
            const double day = StrToTime(text);
            return numberCell(std::round(day * 86400.0), TimeToStr(day));
        } catch (const VtError&) {
            return badCell(where(section, key) + " = \"" + Cp1252ToUtf8(text) +
                           "\" não é um tempo (hh:mm:ss)");
        }
    }

private:
    std::string where(const std::string& section, const char* key) const {
        return m_what + ": [" + section + "] " + key;
    }
    std::map<std::string, std::string> m_values;
    std::string m_what;
};

// The file's text, or why it cannot serve as a settings file.
std::string readSettingsFile(const fs::path& file, std::string& problem) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (!ec && size > kSettingsFileCap) {
        problem = "Arquivo danificado: grande demais (" + std::to_string(size) + " bytes)";
        return {};
    }
    int error = 0;
    auto text = ReadWholeFile(file, &error);
    if (!text) {
        problem = "O arquivo não pôde ser lido: " + SystemErrorTextPt(error);
        return {};
    }
    if (text->find('\0') != std::string::npos) {
        problem = "Arquivo danificado: não é um arquivo de texto";
        return {};
    }
    return std::move(*text);
}

// Keys right and wrong over the minutes of a time, from three cells that may be unreadable.
TReportCell keysPerMinute(const TReportCell& right, const TReportCell& wrong, const TReportCell& seconds,
                          int digits) {
    for (const TReportCell* c : {&right, &wrong, &seconds})
        if (!c->Problem.empty())
            return badCell(c->Problem);
    if (right.Number < 0 || wrong.Number < 0)
        return badCell("Teclas certas ou erradas negativas (" + right.Text + ", " + wrong.Text +
                       "): valor fora do intervalo");
    if (seconds.Number <= 0)
        return noFigure("Nenhum tempo registrado: sem teclas por minuto");
    const double perMinute = (right.Number + wrong.Number) * 60.0 / seconds.Number;
    if (digits == 0) {
        const auto rounded = std::llround(perMinute);
        return numberCell(static_cast<double>(rounded), std::to_string(rounded));
    }
    return numberCell(perMinute, DecimalComma(perMinute, digits));
}

// A duration of any length as hh:mm:ss (hours past 24 as they are).
std::string durationText(std::int64_t seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02d:%02d", static_cast<long long>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

std::string sumNote(std::int64_t exercises, const char* where) {
    return exercises == 1 ? std::string("Tempo do único exercício ") + where
                          : "Soma dos " + std::to_string(exercises) + " exercícios " + where;
}

// Time and keys per minute of a history sum that holds every exercise of the stored right and wrong keys.
bool sumCovers(const THistorySum& sum, const TReportCell& right, const TReportCell& wrong) {
    return sum.Exercises > 0 && right.Problem.empty() && wrong.Problem.empty() &&
           static_cast<double>(sum.KeysRight) == right.Number &&
           static_cast<double>(sum.KeysWrong) == wrong.Number;
}

// The six totals of a Config section: words right, wrong, keys right, wrong, percentage, time.
std::vector<TReportCell> totalsOf(const SettingsView& view) {
    return {view.integer(keys::Config, keys::WordOK, keys::CountDefault),
            view.integer(keys::Config, keys::WordErr, keys::CountDefault),
            view.integer(keys::Config, keys::CharOK, keys::CountDefault),
            view.integer(keys::Config, keys::CharErr, keys::CountDefault),
            view.integer(keys::Config, keys::Porcent, keys::PorcentDefault),
            view.time(keys::Config, keys::TempoTotal)};
}

std::string aula(int n) {
    return keys::AulaPrefix + std::to_string(n);
}

const char* yesNo(bool yes) {
    return yes ? "Sim" : "Não";
}

} // namespace

std::string FoldForSearch(const std::string& utf8) {
    const auto points = Utf8CodePoints(utf8);
    if (!points)
        return AsciiLower(utf8);
    // Latin-1 letters from U+00C0 to U+00FF without their accents, in lower case.
    static const char latin[] = "aaaaaaaceeeeiiiidnooooo*ouuuuyts"
                                "aaaaaaaceeeeiiiidnooooo/ouuuuyty";
    std::string out;
    for (char32_t c : *points) {
        if (c >= U'A' && c <= U'Z')
            c += 32;
        else if (c >= 0xC0 && c <= 0xFF && latin[c - 0xC0] != '*' && latin[c - 0xC0] != '/')
            c = static_cast<unsigned char>(latin[c - 0xC0]);
        out += Utf8Of(c);
    }
    return out;
}

bool NameMatchesFilter(const std::string& utf8Name, const std::string& utf8Filter) {
    return FoldForSearch(utf8Name).find(FoldForSearch(utf8Filter)) != std::string::npos;
}

int CompareCells(const TReportCell& a, const TReportCell& b) {
    const bool badA = !a.Problem.empty();
    const bool badB = !b.Problem.empty();
    if (badA || badB)
        return badA == badB ? 0 : (badA ? -1 : 1);
    if (a.Numeric && b.Numeric)
        return a.Number == b.Number ? 0 : (a.Number < b.Number ? -1 : 1);
    return compareText(a.Text, b.Text);
}

const std::vector<std::string>& ClassColumns(bool withPeriod) {
    static const std::vector<std::string> columns{"Aluno",
                                                  "Nível",
                                                  "Teclado",
                                                  "Aulas concluídas",
                                                  "Aula atual",
                                                  "Palavras certas",
                                                  "Palavras erradas",
                                                  "Teclas certas",
                                                  "Teclas erradas",
                                                  "Acerto (%)",
                                                  "Tempo total",
                                                  "Teclas por minuto",
                                                  "Diploma",
                                                  "Último exercício",
                                                  "Situação",
                                                  "Reforços"};
    static const std::vector<std::string> periodColumns = [] {
        auto all = columns;
        for (const char* c : {"Exercícios no período", "Minutos no período", "Aulas aprovadas no período"})
            all.emplace_back(c);
        return all;
    }();
    return withPeriod ? periodColumns : columns;
}

TStudentRow ReadStudentRow(const fs::path& profile) {
    TStudentRow row;
    row.Name = PathToUtf8(profile.filename());
    row.Profile = profile;
    row.Unlocked.assign(26, false);
    const std::string text = readSettingsFile(profile, row.FileProblem);
    if (!row.FileProblem.empty()) {
        row.Cells.push_back(textCell(Utf8Repaired(row.Name)));
        while (row.Cells.size() < kLastExerciseColumn)
            row.Cells.push_back(badCell(row.FileProblem));
        row.Totals.assign(6, badCell(row.FileProblem));
        return row;
    }
    const SettingsView view(text, "users/" + row.Name);
    for (int n = 1; n <= 25; ++n)
        row.Unlocked[static_cast<std::size_t>(n)] = view.flag(aula(n));

    row.Cells.push_back(textCell(Utf8Repaired(row.Name)));
    TReportCell level = view.integer(keys::Definition, keys::Control, keys::ControlDefault);
    if (level.Problem.empty()) {
        // The access dialog lets only level 0 change students; any other number is a student.
        row.Administrator = level.Number == 0;
        level = textCell(row.Administrator ? "Administrador" : "Aluno");
    }
    row.Cells.push_back(level);
    TReportCell layout = view.integer(keys::Keyboard, keys::Layout, keys::LayoutDefault);
    if (layout.Problem.empty()) {
        row.Layout = layout.Number == 1 ? 1 : 0;
        layout = textCell(row.Layout == 1 ? "ABNT II" : "Padrão Americano ou ABNT I");
    }
    row.Cells.push_back(layout);
    long long done = 0;
    for (int n = 1; n <= 24; ++n)
        done += row.Unlocked[static_cast<std::size_t>(n) + 1] ? 1 : 0;
    row.Cells.push_back(numberCell(done));
    TReportCell current = view.integer(keys::Config, keys::AulaAtual, keys::AulaAtualDefault);
    if (current.Problem.empty()) {
        // The stored index is 0-based; outside the list (-1 for none) no lesson is the current one.
        const double n = current.Number + 1;
        current = n >= 1 && n <= 24 ? numberCell(n, std::to_string(static_cast<int>(n))) : numberCell(0, "");
    }
    row.Cells.push_back(current);
    row.Totals = totalsOf(view);
    for (std::size_t i = 0; i < 4; ++i)
        row.Cells.push_back(row.Totals[i]);
    // The stored percentage is a running mean that starts at 100: the keys themselves say it.
    row.Cells.push_back(AccuracyCell(row.Totals[2], row.Totals[3]));
    row.Cells.push_back(row.Totals[5]);
    row.Cells.push_back(keysPerMinute(row.Totals[2], row.Totals[3], row.Totals[5], 0));
    row.Cells.push_back(textCell(yesNo(row.Unlocked[25])));
    return row;
}

TReportCell ReforcoCell(const THistory& history) {
    if (!history.Problem.empty())
        return badCell(history.Problem);
    TReportCell cell = numberCell(static_cast<long long>(history.Reforcos.Exercises));
    if (history.Reforcos.Exercises > 0)
        cell.Note = "Treinos das teclas mais erradas: " +
                    std::to_string(RightPercentage(history.Reforcos.KeysRight, history.Reforcos.KeysWrong)) +
                    "% de acerto. Não contam nas aulas.";
    return cell;
}

namespace {

// The course's accuracy beside the minimum of the lesson the student is at.
void markAccuracy(TReportCell& accuracy, const TReportCell& current,
                  const std::vector<TLessonFacts>& lessons) {
    if (!accuracy.Problem.empty() || accuracy.Text == kUnreadable || !current.Problem.empty() ||
        current.Number < 1 || current.Number > static_cast<double>(lessons.size()))
        return;
    const TReportCell& minimum = lessons[static_cast<std::size_t>(current.Number) - 1].Minimum;
    if (!minimum.Problem.empty())
        return;
    const char* where = accuracy.Number < minimum.Number    ? "Abaixo do"
                        : accuracy.Number == minimum.Number ? "No"
                                                            : "Acima do";
    accuracy.Mark = accuracy.Number < minimum.Number    ? TGoalMark::Below
                    : accuracy.Number == minimum.Number ? TGoalMark::At
                                                        : TGoalMark::Above;
    accuracy.Note =
        std::string(where) + " mínimo da aula atual (aula " + current.Text + ": " + minimum.Text + "%)";
}

bool totalsHaveExercises(const TStudentRow& row) {
    const auto& t = row.Totals;
    for (const std::size_t i : {0u, 1u, 2u, 3u, 5u})
        if (i < t.size() && t[i].Problem.empty() && t[i].Number > 0)
            return true;
    return false;
}

} // namespace

void AddHistoryCells(TStudentRow& row, const fs::path& dataFolder, const TClassView& view) {
    row.Cells.resize(kLastExerciseColumn);
    TStudentActivity activity;
    // One entry kept: the figures are gathered line by line, so a long history costs no memory.
    const THistory history = ReadHistoryFile(HistoryFileIn(dataFolder, row.Name), 1,
                                             [&](const THistoryEntry& e) { activity.Add(e, view.Period); });
    row.Keys = history.KeySums;
    row.HistoryProblem = history.Problem;
    if (row.FileProblem.empty()) {
        // The stored total time wraps at 24 hours: the history's sum where it holds every exercise.
        const auto timeAndSpeed = CourseTimeAndSpeed(row, history);
        row.Cells[10] = timeAndSpeed[0];
        row.Cells[11] = timeAndSpeed[1];
    }
    markAccuracy(row.Cells[kAccuracyColumn], row.Cells[kCurrentLessonColumn], view.Lessons);
    const std::size_t columns = ClassColumns(view.Period.Active()).size();
    if (!history.Problem.empty()) {
        row.Cells.resize(columns, badCell(history.Problem));
        return;
    }
    TReportCell last = numberCell(-1e15, "");
    if (activity.LastDay)
        last = numberCell(static_cast<double>(*activity.LastDay), IsoDate(*activity.LastDay));
    else if (activity.Exercises > 0)
        last.Note = "A data do último exercício no histórico não é uma data válida: " + activity.LastWhen;
    else if (history.Missing)
        last.Note = "Sem histórico de exercícios";
    row.Cells.push_back(last);
    if (!row.FileProblem.empty() && activity.Exercises == 0) {
        row.Cells.resize(columns, badCell(row.FileProblem));
        return;
    }
    const TSituation situation = SituationOf(activity, history.Missing, totalsHaveExercises(row), view.Today);
    TReportCell cell = numberCell(situation.SortKey, situation.Text);
    cell.Note = situation.Note;
    // Against the goal of keeping up: those who need the teacher stand out.
    cell.Mark = situation.Kind == TSituationKind::Stuck || situation.Kind == TSituationKind::Stopped
                    ? TGoalMark::Below
                : situation.Kind == TSituationKind::NoExercises ? TGoalMark::At
                                                                : TGoalMark::None;
    row.Cells.push_back(cell);
    row.Situation = situation.Kind;
    row.Cells.push_back(ReforcoCell(history));
    if (!view.Period.Active())
        return;
    const double minutes = static_cast<double>(activity.PeriodSeconds) / 60.0;
    row.Cells.push_back(numberCell(activity.PeriodExercises));
    row.Cells.push_back(numberCell(minutes, DecimalComma(minutes, 1)));
    row.Cells.push_back(numberCell(activity.PeriodLessonsPassed()));
}

std::vector<TStudentRow> ReadClass(const fs::path& dataFolder, std::string* folderProblem,
                                   const TClassView* view) {
    TClassView own;
    if (!view) {
        own.Today = LocalToday();
        own.Lessons = ReadLessonFacts(dataFolder);
        view = &own;
    }
    std::vector<TStudentRow> rows;
    const fs::path users = dataFolder / files::UsersFolder;
    std::error_code ec;
    fs::directory_iterator it(users, ec);
    if (ec) {
        if (folderProblem)
            *folderProblem = "A pasta dos alunos \"" + PathToUtf8(users) + "\" não pôde ser lida: " +
                             SystemErrorTextPt(ec.default_error_condition().value());
        return rows;
    }
    for (const fs::directory_entry& entry : it) {
        const std::string name = PathToUtf8(entry.path().filename());
        // Ordinary files only, no hidden ones, no links: the students the roster lists.
        if (name.empty() || name[0] == '.' || entry.is_symlink(ec) || !entry.is_regular_file(ec))
            continue;
        rows.push_back(ReadStudentRow(entry.path()));
        AddHistoryCells(rows.back(), dataFolder, *view);
    }
    std::sort(rows.begin(), rows.end(),
              [](const TStudentRow& a, const TStudentRow& b) { return compareText(a.Name, b.Name) < 0; });
    return rows;
}

bool ClassHasAdministrator(const fs::path& dataFolder) {
    // Stops at the first one: a big class is read once, for the table, not twice.
    std::error_code ec;
    for (fs::directory_iterator it(dataFolder / files::UsersFolder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = PathToUtf8(it->path().filename());
        std::error_code entryError;
        if (!name.empty() && name[0] != '.' && !it->is_symlink(entryError) &&
            it->is_regular_file(entryError) && ReadStudentRow(it->path()).Administrator)
            return true;
    }
    return false;
}

TAccessVerdict CheckReportAccess(const fs::path& dataFolder, const std::string& utf8Name,
                                 const std::string& utf8Password) {
    static const char* const invalid = "Usuário ou senha inválidas.";
    TAccessVerdict v;
    const auto profile = FindStudentFile(dataFolder / files::UsersFolder, utf8Name);
    std::string problem;
    const std::string text = profile ? readSettingsFile(*profile, problem) : std::string();
    if (!profile || !problem.empty()) {
        v.Message = invalid;
        return v;
    }
    const SettingsView view(text, {});
    // An absent or empty password is the reader's default: no password at all.
    const std::string stored = view.raw(keys::Definition, keys::Information, keys::NoPasswordMarker);
    const std::string expected = stored == keys::NoPasswordMarker ? std::string() : DecodePassword(stored);
    const auto typed = Utf8ToCp1252(utf8Password);
    if ((!typed || *typed != expected) && !expected.empty()) {
        v.Message = invalid;
        return v;
    }
    const auto level = TryStrToInt(view.raw(keys::Definition, keys::Control, keys::ControlDefault));
    if (!level || *level != 0) {
        v.Message = "!!! Este usuário não tem permissão para fazer alterações !!!";
        return v;
    }
    v.Granted = true;
    v.Name = PathToUtf8(profile->filename());
    return v;
}

std::vector<TLessonFacts> ReadLessonFacts(const fs::path& dataFolder) {
    std::vector<TLessonFacts> lessons(24);
    for (int n = 1; n <= 24; ++n) {
        TLessonFacts& facts = lessons[static_cast<std::size_t>(n - 1)];
        // A teacher's copy in the data folder first, as the course reads it; otherwise the installed one.
        const fs::path relative = fs::path(files::LessonsFolder) / files::LessonFile(n);
        std::error_code ec;
        const fs::path file =
            fs::exists(dataFolder / relative, ec) ? dataFolder / relative : ProgramFile(relative);
        int error = 0;
        auto text = ReadWholeFile(file, &error);
        if (!text) {
            facts.Problem = std::string(files::LessonsFolder) + "/" + files::LessonFile(n) +
                            " não pôde ser lido: " + SystemErrorTextPt(error);
            facts.Minimum = facts.TimeAllowed = badCell(facts.Problem);
            continue;
        }
        const std::vector<std::string> lines = LessonLines(*text);
        facts.Title = Cp1252ToUtf8(lines[0]);
        const std::string where = std::string(files::LessonsFolder) + "/" + files::LessonFile(n);
        try {
            const double day = LessonExpectedTime(lines[5]);
            facts.TimeAllowed = numberCell(std::round(day * 86400.0), TimeToStr(day));
        } catch (const VtError& e) {
            facts.TimeAllowed = badCell(where + ", tempo permitido (linha 6): " + e.what());
        }
        try {
            facts.Minimum = numberCell(LessonMinimumPercent(lines[6]));
        } catch (const VtError& e) {
            facts.Minimum = badCell(where + ", porcentagem mínima (linha 7): " + e.what());
        }
    }
    return lessons;
}

TReportCell AccuracyCell(const TReportCell& right, const TReportCell& wrong) {
    for (const TReportCell* c : {&right, &wrong})
        if (!c->Problem.empty())
            return badCell(c->Problem);
    if (right.Number < 0 || wrong.Number < 0)
        return badCell("Teclas certas ou erradas negativas (" + right.Text + ", " + wrong.Text +
                       "): valor fora do intervalo");
    TReportCell cell = numberCell(-1, kUnreadable);
    if (right.Number + wrong.Number == 0) {
        cell.Note = "Nenhuma tecla registrada: sem porcentagem de acerto";
        return cell;
    }
    return numberCell(
        RightPercentage(static_cast<std::int64_t>(right.Number), static_cast<std::int64_t>(wrong.Number)));
}

std::vector<TReportCell> CourseTimeAndSpeed(const TStudentRow& student, const THistory& history) {
    const auto& t = student.Totals;
    THistorySum all;
    for (int n = 1; n <= 24; ++n)
        all.Add(history.Sums[static_cast<std::size_t>(n)]);
    if (!sumCovers(all, t[2], t[3])) {
        TReportCell time = t[5];
        TReportCell speed = keysPerMinute(t[2], t[3], t[5], 0);
        // Nothing timed: nothing for the history to be missing.
        if (time.Problem.empty() && time.Number > 0) {
            time.Note = "Tempo guardado no perfil (o histórico não tem todos os exercícios; "
                        "o tempo guardado volta a zero a cada 24 horas)";
            if (speed.Problem.empty())
                speed.Note = time.Note;
        }
        return {time, speed};
    }
    TReportCell time = numberCell(static_cast<double>(all.Seconds), durationText(all.Seconds));
    TReportCell speed = keysPerMinute(t[2], t[3], time, 0);
    time.Note = speed.Note = sumNote(all.Exercises, "do histórico");
    return {time, speed};
}

const std::vector<std::string>& LessonColumns() {
    static const std::vector<std::string> columns{
        "Aula",          "Título",          "Liberada",          "Palavras certas", "Palavras erradas",
        "Teclas certas", "Teclas erradas",  "Teclas por minuto", "Acerto (%)",      "Mínimo (%)",
        "Tempo",         "Tempo permitido", "Aprovada"};
    return columns;
}

std::vector<std::vector<TReportCell>> StudentLessonRows(const fs::path& dataFolder,
                                                        const TStudentRow& student,
                                                        const std::vector<TLessonFacts>& lessons,
                                                        const THistory* history) {
    std::vector<std::vector<TReportCell>> rows;
    for (int n = 1; n <= 24; ++n) {
        const TLessonFacts& facts = lessons.at(static_cast<std::size_t>(n - 1));
        std::vector<TReportCell> row;
        row.push_back(numberCell(n));
        row.push_back(facts.Problem.empty() ? textCell(facts.Title) : badCell(facts.Problem));
        const bool profileRead = student.FileProblem.empty();
        row.push_back(profileRead ? textCell(yesNo(student.Unlocked[static_cast<std::size_t>(n)]))
                                  : badCell(student.FileProblem));

        const std::string name = files::LessonResultFile(n, student.Name);
        const fs::path file = dataFolder / files::LessonsFolder / PathFromUtf8(name);
        std::error_code ec;
        std::vector<TReportCell> totals;
        if (!fs::exists(file, ec) && !ec) {
            totals.assign(6, textCell("")); // never done: nothing stored yet
        } else {
            std::string problem;
            const std::string text = readSettingsFile(file, problem);
            if (problem.empty())
                totals = totalsOf(SettingsView(text, "aulas/" + name));
            else
                totals.assign(6, badCell(std::string("aulas/").append(name).append(": ").append(problem)));
        }
        for (std::size_t i = 0; i < 4; ++i)
            row.push_back(totals[i]);
        const bool never = totals[5].Text.empty() && totals[5].Problem.empty();
        // A lesson chosen, which stores its file of zeros, and never finished: nothing to time.
        const bool untouched = !never && totals[2].Problem.empty() && totals[3].Problem.empty() &&
                               totals[5].Problem.empty() && totals[2].Number == 0 && totals[3].Number == 0 &&
                               totals[5].Number == 0;
        TReportCell time = totals[5];
        if (untouched) {
            // Its own figures say so; neither the history nor the stored time is to blame.
        } else if (!never && history && history->Problem.empty() &&
                   sumCovers(history->Sums[static_cast<std::size_t>(n)], totals[2], totals[3])) {
            const THistorySum& sum = history->Sums[static_cast<std::size_t>(n)];
            time = numberCell(static_cast<double>(sum.Seconds), durationText(sum.Seconds));
            time.Note = sumNote(sum.Exercises, "desta aula no histórico");
        } else if (!never && time.Problem.empty()) {
            time.Note =
                "Tempo guardado no arquivo da aula (o histórico não tem todos os exercícios desta aula; "
                "o tempo guardado volta a zero a cada 24 horas)";
        }
        TReportCell speed = never ? textCell("") : keysPerMinute(totals[2], totals[3], time, 1);
        if (untouched)
            speed.Note = "Aula escolhida, mas nenhum exercício dela foi terminado";
        else if (speed.Problem.empty() && speed.Text != kUnreadable)
            speed.Note = time.Note;
        row.push_back(speed);
        row.push_back(never ? textCell("") : AccuracyCell(totals[2], totals[3]));
        row.push_back(facts.Minimum);
        row.push_back(time);
        row.push_back(facts.TimeAllowed);
        row.push_back(profileRead ? textCell(yesNo(student.Unlocked[static_cast<std::size_t>(n) + 1]))
                                  : badCell(student.FileProblem));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string DecimalComma(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    std::string out = text;
    std::replace(out.begin(), out.end(), '.', ',');
    return out;
}

std::string CsvField(const std::string& raw, bool number) {
    std::string text = Utf8Repaired(raw);
    if (!number && !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos)
        text.insert(0, 1, '\'');
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

std::string CsvDocument(const std::vector<std::string>& header,
                        const std::vector<std::vector<TReportCell>>& rows) {
    std::string out = "\xEF\xBB\xBF";
    for (std::size_t i = 0; i < header.size(); ++i)
        out += (i ? ";" : "") + CsvField(header[i]);
    out += "\r\n";
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            out.append(i ? ";" : "").append(CsvField(row[i].Text, row[i].Numeric && row[i].Problem.empty()));
        out += "\r\n";
    }
    return out;
}

std::string ClassCsv(const std::vector<TStudentRow>& students, bool withPeriod) {
    std::vector<std::vector<TReportCell>> rows;
    rows.reserve(students.size());
    for (const TStudentRow& s : students)
        rows.push_back(s.Cells);
    return CsvDocument(ClassColumns(withPeriod), rows);
}

std::string StudentCsv(const std::string& name, const std::vector<std::vector<TReportCell>>& lessonRows) {
    std::vector<std::string> header{"Aluno"};
    header.insert(header.end(), LessonColumns().begin(), LessonColumns().end());
    std::vector<std::vector<TReportCell>> rows;
    rows.reserve(lessonRows.size());
    for (const auto& lesson : lessonRows) {
        rows.push_back({textCell(Utf8Repaired(name))});
        rows.back().insert(rows.back().end(), lesson.begin(), lesson.end());
    }
    return CsvDocument(header, rows);
}
