// velotecla-relatorio: the teachers' class report.
//   velotecla-relatorio         the access dialog (an administrator), then the class table
//   velotecla-relatorio --csv   the class table as CSV on standard output, no window
#include "core/platform/dataPlaces.h"
#include "core/platform/displayBackend.h"
#include "core/platform/pathText.h"
#include "core/report/classReport.h"
#include "core/storage/profileKeys.h"
#include "windows/glue/commandLine.h"
#include "windows/report/uRelatorio.h"
#include "windows/widgets/desktopManners.h"
#include "windows/widgets/fonts.h"
#include "windows/widgets/qtText.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

int writeCsv() {
    std::string problem;
    const auto students = ReadClass(ReportDataFolder(), &problem);
    if (!problem.empty()) {
        std::fprintf(stderr, "velotecla-relatorio: %s\n", problem.c_str());
        return 1;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // the lines end in CR LF as they are
#endif
    // Scripts read the header as the first line: no byte-order mark here (a saved file has one).
    const std::string csv = ClassCsv(students).substr(3);
    if (std::fwrite(csv.data(), 1, csv.size(), stdout) != csv.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "velotecla-relatorio: a saída não pôde ser escrita\n");
        return 1;
    }
    return 0;
}

// The data the course uses, looked for where the course keeps it; nothing is made.
void findData() {
    const DataPlaces places =
        ReportDataPlaces(ToPath(QCoreApplication::applicationDirPath()), SystemDataEnvironment());
    SetReportNotice(places.notice);
    UseDataPlaces(places);
    SetHelpFileName(files::HelpFile);
    if (!places.notice.empty())
        std::fprintf(stderr, "velotecla-relatorio: %s\n", places.notice.c_str());
    if (places.unusable)
        std::exit(1);
}

} // namespace

int main(int argc, char* argv[]) {
    const QCommandLineOption csvOption(QStringLiteral("csv"),
                                       QStringLiteral("escreve a tabela da turma em CSV na saída padrão"));
    const ProgramCommandLine reportLine{
        QStringLiteral("velotecla-relatorio"),
        QStringLiteral("--csv | --version | --help"),
        QStringLiteral("O relatório da turma do Velotecla. Sem opções, abre a janela do relatório\n"
                       "(pede o nome e a senha de um administrador)."),
        {csvOption},
        {}};
    QCommandLineParser options;
    if (const auto answer = AnswerCommandLine(reportLine, ArgumentsOf(argc, argv), options))
        return PrintCommandLineAnswer(*answer);
    const bool csv = options.isSet(csvOption);
    if (csv) {
        // No window and no display: the core reads the files.
        QCoreApplication app(argc, argv);
        findData();
        return writeCsv();
    }
    ChooseDisplayBackend();
    QApplication app(argc, argv);
    findData();
    // As the course: message boxes carry its title, dialog captions nothing added.
    QGuiApplication::setApplicationName(QStringLiteral("velotecla"));
    InstallFontSubstitutes();
    InstallDesktopManners();
    const std::unique_ptr<TfrmRelatorio> report(OpenClassReport());
    if (!report)
        return 0;
    return QApplication::exec();
}
