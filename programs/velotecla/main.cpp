#include "core/platform/displayBackend.h"
#include "windows/course/windowSet.h"
#include "windows/glue/commandLine.h"
#include "windows/widgets/qtText.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

int main(int argc, char* argv[]) {
    const ProgramCommandLine course{
        QStringLiteral("velotecla"),
        QStringLiteral("--version | --help"),
        QStringLiteral("Velotecla - Curso de Datilografia: 24 aulas de digitação com teclado na tela.\n"
                       "Sem argumentos, abre o programa."),
        {},
        QStringLiteral("Dados: ao lado do programa quando a pasta dele tem as aulas e pode ser gravada;\n"
                       "instalado, na pasta compartilhada /var/lib/velotecla (grupo velotecla) ou, para\n"
                       "quem não é do grupo, em $XDG_DATA_HOME/velotecla (~/.local/share/velotecla).\n"
                       "A variável VELOTECLA_DADOS indica outra pasta de dados.\n")};
    QCommandLineParser options;
    if (const auto answer = AnswerCommandLine(course, ArgumentsOf(argc, argv), options))
        return PrintCommandLineAnswer(*answer);
    ChooseDisplayBackend();
    QApplication app(argc, argv);
    // The splash is the main window but is hidden after 3 s; only the roster's exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    const DataPlaces places = FindDataPlaces(ToPath(QCoreApplication::applicationDirPath()));
    if (places.unusable) {
        std::fprintf(stderr, "velotecla: %s\n", places.notice.c_str());
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Velotecla - pasta de dados"),
                        FromUtf8(places.notice));
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return 1;
    }
    SetUpProgram(places);
    std::error_code ec;
    const bool firstStart = !std::filesystem::exists(places.dataFolder / "users", ec);
    CreateWindowSet();
    TellDataPlaces(places, firstStart);
    return QApplication::exec();
}
