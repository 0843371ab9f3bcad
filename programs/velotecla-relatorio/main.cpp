// velotecla-relatorio: the teachers' class report.
//   velotecla-relatorio         the access dialog (an administrator), then the class table
//   velotecla-relatorio --csv   the class table as CSV on standard output, no window
//     [--desde AAAA-MM-DD] [--ate AAAA-MM-DD]   with the figures of that period of dates
//   velotecla-relatorio --csv-teclas   every student's keys over the whole history, the same way
#include "core/platform/dataPlaces.h"
#include "core/platform/displayBackend.h"
#include "core/platform/pathText.h"
#include "core/report/classReport.h"
#include "core/report/keyReport.h"
#include "core/storage/profileKeys.h"
#include "windows/glue/commandLine.h"
#include "windows/report/uRelatorio.h"
#include "windows/widgets/desktopManners.h"
#include "windows/widgets/fonts.h"
#include "windows/widgets/qtText.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

int writeCsv(const TReportPeriod& period, bool keys) {
    TClassView view;
    view.Period = period;
    view.Today = LocalToday();
    view.Lessons = ReadLessonFacts(ReportDataFolder());
    std::string problem;
    const auto students = ReadClass(ReportDataFolder(), &problem, &view);
    if (!problem.empty()) {
        std::fprintf(stderr, "velotecla-relatorio: %s\n", problem.c_str());
        return 1;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // the lines end in CR LF as they are
#endif
    // Scripts read the header as the first line: no byte-order mark here (a saved file has one).
    std::vector<std::string> unread;
    const std::string csv =
        keys ? ClassKeysCsv(students, &unread) : ClassCsv(students, period.Active()).substr(3);
    for (const std::string& why : unread) // the other students' rows are written all the same
        std::fprintf(stderr, "velotecla-relatorio: %s\n", why.c_str());
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
    if (places.unusable) {
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QMessageBox box(QMessageBox::Critical, QStringLiteral("Velotecla - pasta de dados"),
                            FromUtf8(places.notice));
            box.setTextFormat(Qt::PlainText);
            box.exec();
        }
        std::exit(1);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const QCommandLineOption csvOption(QStringLiteral("csv"),
                                       QStringLiteral("escreve a tabela da turma em CSV na saída padrão"));
    const QCommandLineOption fromOption(
        QStringLiteral("desde"),
        QStringLiteral("AAAA-MM-DD: com --csv, acrescenta os números do período a partir dessa data"),
        QStringLiteral("AAAA-MM-DD"));
    const QCommandLineOption toOption(QStringLiteral("ate"),
                                      QStringLiteral("AAAA-MM-DD: com --csv, o período vai até essa data"),
                                      QStringLiteral("AAAA-MM-DD"));
    const QCommandLineOption keysOption(
        QStringLiteral("csv-teclas"),
        QStringLiteral("escreve em CSV, na saída padrão, as teclas de cada aluno em todo o histórico"));
    const ProgramCommandLine reportLine{
        QStringLiteral("velotecla-relatorio"),
        QStringLiteral("--csv [--desde AAAA-MM-DD] [--ate AAAA-MM-DD] | --csv-teclas | --version | --help"),
        QStringLiteral("O relatório da turma do Velotecla. Sem opções, abre a janela do relatório\n"
                       "(pede o nome e a senha de um administrador)."),
        {csvOption, keysOption, fromOption, toOption},
        QStringLiteral("Cada linha do CSV termina com \"Último exercício;Situação\"; com --desde ou --ate\n"
                       "(as duas datas incluídas; uma delas pode faltar), seguem \"Exercícios no período;\n"
                       "Minutos no período;Aulas aprovadas no período\". As datas são as do histórico de\n"
                       "cada aluno; \"hoje\" é a data deste computador.\n")};
    QCommandLineParser options;
    if (const auto answer = AnswerCommandLine(reportLine, ArgumentsOf(argc, argv), options))
        return PrintCommandLineAnswer(*answer);
    TReportPeriod period;
    for (const auto& [option, end] :
         {std::pair{&fromOption, &period.From}, std::pair{&toOption, &period.To}}) {
        if (!options.isSet(*option))
            continue;
        const std::string text = options.value(*option).toStdString();
        *end = ParseIsoDate(text);
        if (!*end) {
            std::fprintf(stderr, "velotecla-relatorio: --%s: \"%s\" não é uma data (AAAA-MM-DD)\n",
                         option->names().constFirst().toUtf8().constData(), text.c_str());
            return 2;
        }
    }
    const bool csv = options.isSet(csvOption);
    const bool keys = options.isSet(keysOption);
    if (!csv && period.Active()) {
        std::fprintf(stderr, "velotecla-relatorio: --desde e --ate só valem com --csv (na janela, escolha o "
                             "período)\n");
        return 2;
    }
    if (keys && period.Active()) {
        std::fprintf(stderr,
                     "velotecla-relatorio: --csv-teclas vale para todo o histórico (sem --desde e --ate)\n");
        return 2;
    }
    if (csv || keys) {
        // No window and no display: the core reads the files.
        QCoreApplication app(argc, argv);
        findData();
        return writeCsv(period, keys && !csv);
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
