#include "core/platform/displayBackend.h"
#include "windows/course/windowSet.h"
#include "windows/glue/commandLine.h"
#include "windows/widgets/qtText.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

namespace {
// Why the data lives in a folder other than the expected one: on the terminal at every start, and in a
// message on the user's first start there (once the roster exists and the event loop runs).
void tellDataFolder(const DataPlaces& places, bool firstStart) {
    if (places.notice.empty())
        return;
    std::fprintf(stderr, "velotecla: %s\n", places.notice.c_str());
    if (firstStart)
        QTimer::singleShot(0, [text = FromUtf8(places.notice)] {
            QMessageBox::information(nullptr, QStringLiteral("Velotecla - pasta de dados"), text);
        });
}
} // namespace

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
        QMessageBox::critical(nullptr, QStringLiteral("Velotecla - pasta de dados"), FromUtf8(places.notice));
        return 1;
    }
    SetUpProgram(places);
    std::error_code ec;
    const bool firstStart = !std::filesystem::exists(places.dataFolder / "users", ec);
    CreateWindowSet();
    tellDataFolder(places, firstStart);
    return QApplication::exec();
}
