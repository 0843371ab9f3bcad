// The class report with a generated class: 200 students with 500 exercises each in their histories,
// dated over the last months, in mixed situations (up to date, stopped, stuck at a lesson). Measures
// the class table on screen with every student's situation (from the process's start and from main),
// the same table with a period chosen, the resident memory with it shown, a student's page with its
// charts, the core's reading alone, and then a student with a very long history: the table read again
// and that student's page. Every exercise carries its slips by key, so the class window draws its
// keyboard of key errors and the page its own.
//   reportBench            the full class (run on a release build; under Xvfb or offscreen)
//   reportBench --smoke    10 students, a quick check that it all still runs (ctest)
//   reportBench [--students N] [--exercises N] [--history-lines N]   another class size, another
//                          history length, the length of the one long history (default 1,000,000 lines)
#include "core/exercise/history.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/report/classActivity.h"
#include "core/report/classReport.h"
#include "core/report/keyReport.h"
#include "core/storage/profileKeys.h"
#include "windows/report/uAluno.h"
#include "windows/report/uRelatorio.h"
#include "windows/widgets/fonts.h"
#include "windows/widgets/qtText.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

void put(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// An exercise's slips by key as the course writes them: 6 to 15 keys of the course, a few slips.
std::string keyData(int student, int lesson, int exercise) {
    static const int codes[] = {13, 16, 32, 65, 67, 68, 69, 70, 71, 74, 75, 76, 79, 82, 83, 186};
    const int count = 6 + (lesson + exercise) % 10;
    std::vector<int> keys(codes, codes + count);
    std::sort(keys.begin(), keys.end());
    std::string out;
    for (int i = 0; i < count; ++i) {
        const int seed = student * 31 + lesson * 7 + exercise * 3 + i;
        TKeyTally k;
        k.Key = static_cast<std::uint8_t>(keys[static_cast<std::size_t>(i)]);
        k.Swapped = seed % 5 == 0 ? 1 + seed % 3 : 0;
        k.Missed = seed % 7 == 0 ? 1 : 0;
        k.Transposed = seed % 11 == 0 ? 2 : 0;
        k.Extra = seed % 13 == 0 ? 1 : 0;
        k.Right = 20 + seed % 40;
        k.Asked = k.Right + k.Wrong();
        k.RightMs = k.Right * (180 + seed % 300);
        if (k.Swapped > 0) {
            k.Instead = static_cast<std::uint8_t>(codes[seed % 16]);
            k.InsteadTimes = k.Swapped;
        }
        out += (i ? " " : "") + KeyTalliesText({k});
    }
    return out;
}

// Every student did `exercises` exercises, spread over the lessons in order, the latest `lastDaysAgo`
// days ago; the lesson result files and the profile's totals hold what the history holds.
void generateClass(const fs::path& folder, int students, int exercises) {
    for (int n = 1; n <= 24; ++n)
        put(folder / "aulas" / ("aula" + std::to_string(n) + ".aul"),
            "Aula " + std::to_string(n) +
                "^\r\nTreino^\r\nTecla:   116^\r\nTexto:   065083068070032^\r\n"
                "Palavras:    20^\r\nTempo:   00:02:30^\r\nMinimo:     92^\r\n");
    const TDay today = LocalToday();
    for (int s = 0; s < students; ++s) {
        char name[32];
        std::snprintf(name, sizeof name, "aluno%03d", s);
        // A fifth stopped weeks ago, a fifth stuck at their lesson, the rest up to date.
        const int kind = s % 5;
        const TDay lastDay = today - (kind == 0 ? 15 + s % 40 : s % 10);
        const int reached = 1 + (s * 7) % 24; // the lesson the student is at
        struct Sum {
            long long words = 0, right = 0, wrong = 0, seconds = 0, count = 0;
        };
        std::vector<Sum> lessons(25);
        std::string history = std::string(kHistoryHeader) + "\r\n";
        history.reserve(static_cast<std::size_t>(exercises) * 50);
        for (int e = 0; e < exercises; ++e) {
            const int lesson = 1 + e * reached / exercises;
            const bool last = e >= exercises - 3;
            const bool passed = kind == 1 && last ? false : (e + s) % 3 != 0;
            const int right = 400 + (s * 7 + e * 13) % 100;
            const int wrong = (s + e) % 20;
            const int secs = 120 + (s * 3 + e) % 60;
            // Two exercises a day, back from the latest.
            const TDay day = lastDay - (exercises - 1 - e) / 2;
            char line[160];
            std::snprintf(line, sizeof line, "%sT%02d:%02d:00-03:00;%d;20;0;%d;%d;%d;%d;%d;0;",
                          IsoDate(day).c_str(), 8 + e % 2 * 2, e % 60, lesson, right, wrong, secs,
                          100 * right / (right + wrong), passed ? 1 : 0);
            history += line;
            history += keyData(s, lesson, e);
            history += "\r\n";
            Sum& sum = lessons[static_cast<std::size_t>(lesson)];
            sum.words += 20;
            sum.right += right;
            sum.wrong += wrong;
            sum.seconds += secs;
            ++sum.count;
        }
        std::string profile = "[Aula1]\r\nHabilitado=1\r\n[Definition]\r\nInformation=\r\nControl=" +
                              std::string(s == 0 ? "0" : "1") +
                              "\r\n[Keyboard]\r\nLayout=" + std::to_string(s % 2) + "\r\n";
        Sum all;
        for (int n = 1; n <= reached; ++n) {
            const Sum& sum = lessons[static_cast<std::size_t>(n)];
            char time[32];
            std::snprintf(time, sizeof time, "%02lld:%02lld:%02lld", sum.seconds / 3600 % 24,
                          sum.seconds / 60 % 60, sum.seconds % 60);
            put(folder / "aulas" / ("aula" + std::to_string(n) + "_" + name + ".def"),
                "[Config]\r\nWordOK=" + std::to_string(sum.words) + "\r\nWordErr=0\r\nCharOK=" +
                    std::to_string(sum.right) + "\r\nCharErr=" + std::to_string(sum.wrong) +
                    "\r\nTempoTotal=" + time + "\r\nPorcent=96\r\n");
            if (n < reached)
                profile += "[Aula" + std::to_string(n + 1) + "]\r\nHabilitado=1\r\n";
            all.words += sum.words;
            all.right += sum.right;
            all.wrong += sum.wrong;
            all.seconds += sum.seconds;
        }
        char time[32];
        std::snprintf(time, sizeof time, "%02lld:%02lld:%02lld", all.seconds / 3600 % 24,
                      all.seconds / 60 % 60, all.seconds % 60);
        profile += "[Config]\r\nAulaAtual=" + std::to_string(reached - 1) +
                   "\r\nWordOK=" + std::to_string(all.words) +
                   "\r\nWordErr=0\r\nCharOK=" + std::to_string(all.right) +
                   "\r\nCharErr=" + std::to_string(all.wrong) + "\r\nTempoTotal=" + time +
                   "\r\nPorcent=96\r\n";
        put(folder / "users" / name, profile);
        put(folder / "historico" / (std::string(name) + ".csv"), history);
    }
}

long statusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

// Milliseconds since the process started, from the kernel's own record of its start.
double msSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    std::istringstream rest(text.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && rest >> field; ++i) {
    }
    const double startTicks = std::atof(field.c_str());
    double uptime = 0;
    std::ifstream("/proc/uptime") >> uptime;
    return (uptime - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000.0;
}

// Runs the event loop until the widget has been painted.
bool waitForPaint(QWidget* w, int timeoutMs) {
    struct Watch : QObject {
        bool painted = false;
        bool eventFilter(QObject*, QEvent* e) override {
            painted = painted || e->type() == QEvent::Paint;
            return false;
        }
    } watch;
    w->installEventFilter(&watch);
    QElapsedTimer t;
    t.start();
    while (!watch.painted && t.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    w->removeEventFilter(&watch);
    return watch.painted;
}

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer fromMain;
    fromMain.start();
    const double startedMs = msSinceProcessStart(); // main reached this long after the process started
    int students = 200;
    int exercises = 500;
    long historyLines = 1000000;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0) {
            students = 10;
            exercises = 30;
            historyLines = 2000;
        } else if (std::strcmp(argv[i], "--students") == 0 && i + 1 < argc) {
            students = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--exercises") == 0 && i + 1 < argc) {
            exercises = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--history-lines") == 0 && i + 1 < argc) {
            historyLines = std::atol(argv[++i]);
        }
    }

    // The class is written before the clocks that matter start.
    QTemporaryDir dir;
    const fs::path folder = ToPath(dir.path());
    generateClass(folder, students, exercises);
    const double generatedMs = fromMain.nsecsElapsed() / 1e6;

    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    SetProgramFolder(folder);
    SetHelpFileName(files::HelpFile);
    InstallFontSubstitutes();
    const double appMs = clock.nsecsElapsed() / 1e6;

    // The table as it opens: every history read for the latest date and the situation.
    TfrmRelatorio report;
    report.show();
    const bool shown = waitForPaint(report.tblTurma->viewport(), 10000);
    const double tableMs = clock.nsecsElapsed() / 1e6;
    const long rssKb = statusKb("VmRSS:");
    int stuck = 0, stopped = 0;
    for (int r = 0; r < report.tblTurma->model()->rowCount(); ++r) {
        const QString situation = report.tblTurma->model()->index(r, kSituationColumn).data().toString();
        stuck += situation.startsWith(QStringLiteral("Aula ")) ? 1 : 0;
        stopped += situation.startsWith(QStringLiteral("Parado")) ? 1 : 0;
    }

    // A period chosen: the histories read again, three more columns.
    QElapsedTimer periodClock;
    periodClock.start();
    report.cmbPeriodo->setCurrentIndex(2); // the last 60 days
    const bool periodShown = waitForPaint(report.tblTurma->viewport(), 10000);
    const double periodMs = periodClock.nsecsElapsed() / 1e6;
    const long periodRssKb = statusKb("VmRSS:");

    QElapsedTimer pageClock;
    pageClock.start();
    report.ShowStudent(students / 2);
    auto* page = report.findChild<TfrmAluno*>();
    const bool pageShown = page && waitForPaint(page, 10000);
    const double pageMs = pageClock.nsecsElapsed() / 1e6;
    const long peakKb = statusKb("VmHWM:");

    // The core's part alone, after the window (which read the class itself, as the program does).
    TClassView view;
    view.Today = LocalToday();
    view.Period = report.Period();
    view.Lessons = ReadLessonFacts(ReportDataFolder());
    QElapsedTimer readClock;
    readClock.start();
    const auto rows = ReadClass(ReportDataFolder(), nullptr, &view);
    const double readMs = readClock.nsecsElapsed() / 1e6;
    const std::string csv = ClassCsv(rows, true);
    QElapsedTimer keysClock;
    keysClock.start();
    TKeySum classKeys;
    for (const TStudentRow& row : rows)
        classKeys.Add(row.Keys);
    const double keysMs = keysClock.nsecsElapsed() / 1e6;

    // One student with a very long history, last in name order: the table again, then that page.
    {
        put(folder / "users" / "zz_longo", "[Config]\r\nCharOK=1\r\n");
        std::ofstream out(folder / "historico" / "zz_longo.csv", std::ios::binary);
        out << kHistoryHeader << "\r\n";
        for (long i = 0; i < historyLines; ++i)
            out << "2026-03-" << (10 + i % 18) << "T10:00:00-03:00;" << (1 + i % 24) << ";20;1;"
                << (380 + i % 50) << ";" << (i % 9) << ";" << (100 + i % 40) << ";" << (90 + i % 10)
                << ";1\r\n";
    }
    QElapsedTimer againClock;
    againClock.start();
    report.Reload();
    const bool againShown = waitForPaint(report.tblTurma->viewport(), 30000);
    const double againMs = againClock.nsecsElapsed() / 1e6;
    const long beforeLongKb = statusKb("VmRSS:");
    QElapsedTimer longClock;
    longClock.start();
    report.ShowStudent(report.tblTurma->model()->rowCount() - 1);
    TfrmAluno* longPage = nullptr;
    for (TfrmAluno* p : report.findChildren<TfrmAluno*>())
        if (p->Student().Name == "zz_longo")
            longPage = p;
    const bool longShown = longPage && waitForPaint(longPage, 30000);
    const double longMs = longClock.nsecsElapsed() / 1e6;
    const long longPeakKb = statusKb("VmHWM:");
    const long afterLongKb = statusKb("VmRSS:");

    const int tableRows = report.tblTurma->model()->rowCount() - 1;
    const std::size_t points = page ? page->History().Entries.size() : 0;
    std::printf("class of %d students, %d exercises each in the history (%d stuck, %d stopped)\n", students,
                exercises, stuck, stopped);
    std::printf("  generating the files (not timed)         %8.1f ms\n", generatedMs);
    std::printf("  process start to main                    %8.1f ms\n", startedMs);
    std::printf("  QApplication made                        %8.1f ms\n", appMs);
    std::printf("  class table with situations, from main   %8.1f ms  (%d rows shown)\n", tableMs, tableRows);
    std::printf(
        "  class table with situations, from start  %8.1f ms  (generation left out; target: 1000 ms)\n",
        tableMs + startedMs);
    std::printf("  resident memory with the table shown     %8.1f MB  (target: 100 MB)\n", rssKb / 1024.0);
    std::printf("  a period chosen, table painted again     %8.1f ms  (target with the above: 1000 ms)\n",
                periodMs);
    std::printf("  resident memory with the period's table  %8.1f MB  (target: 100 MB)\n",
                periodRssKb / 1024.0);
    std::printf("  a student's page with charts painted     %8.1f ms  (%zu exercises drawn)\n", pageMs,
                points);
    std::printf("  reading the class again (core alone)     %8.1f ms  (%zu rows, CSV %zu bytes)\n", readMs,
                rows.size(), csv.size());
    std::printf("  peak resident memory before the long one %8.1f MB\n", peakKb / 1024.0);
    std::printf("  the table again with a %ld-line history %8.1f ms\n", historyLines, againMs);
    std::printf("  the class's keys summed (core alone)     %8.1f ms  (%lld exercises with keys)\n", keysMs,
                static_cast<long long>(classKeys.Exercises));
    std::printf("  a page of a %ld-line history painted    %8.1f ms  (%zu exercises drawn, of %lld; target: "
                "1000 ms)\n",
                historyLines, longMs, longPage ? longPage->History().Entries.size() : 0,
                longPage ? static_cast<long long>(longPage->History().Total) : 0LL);
    std::printf(
        "  resident memory before / after that page %7.1f / %.1f MB, peak %.1f MB  (target: 100 MB)\n",
        beforeLongKb / 1024.0, afterLongKb / 1024.0, longPeakKb / 1024.0);
    const bool ok = shown && periodShown && pageShown && againShown && longShown && tableRows == students &&
                    points == std::min<std::size_t>(kHistoryKept, static_cast<std::size_t>(exercises)) &&
                    longPage->History().Total == historyLines && stuck > 0 && stopped > 0;
    if (!ok)
        std::printf("FAILED: the table or the student's page did not come up as expected\n");
    return ok ? 0 : 1;
}
