// velotecla-relatorio: the teachers' class report.
//   velotecla-relatorio         the access dialog (an administrator), then the class table
//   velotecla-relatorio --csv   the class table as CSV on standard output, no window
#include "platform/dataPlaces.h"
#include "platform/displayBackend.h"
#include "platform/programFolder.h"
#include "report/classReport.h"
#include "report/uRelatorio.h"
#include "storage/profileKeys.h"
#include "widgets/desktopManners.h"
#include "widgets/fonts.h"
#include "widgets/qtText.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstring>
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

// The data the course uses, found the way the course finds it.
void findData() {
    const DataPlaces places = FindDataPlaces(ToPath(QCoreApplication::applicationDirPath()));
    UseDataPlaces(places);
    SetHelpFileName(files::HelpFile);
    if (!places.notice.empty())
        std::fprintf(stderr, "velotecla-relatorio: %s\n", places.notice.c_str());
}

} // namespace

int main(int argc, char* argv[]) {
    const bool csv = argc == 2 && std::strcmp(argv[1], "--csv") == 0;
    if (argc > 1 && !csv) {
        std::fprintf(stderr, "Uso: velotecla-relatorio [--csv]\n"
                             "  sem opções  abre o relatório da turma (pede a senha de um administrador)\n"
                             "  --csv       escreve a tabela da turma em CSV na saída padrão\n");
        return 2;
    }
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
