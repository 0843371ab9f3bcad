// vt-figura: the teacher's tool for lesson pictures, shipped beside the program.
//   vt-figura PASTA [N ...]   redraws PASTA/images/aula<N>.jpg from the lesson files in PASTA/aulas
//                             (every lesson when no number is given); a lesson missing in PASTA/aulas
//                             is read from the installation's, so PASTA may be a data folder
#include "keyboardArt.h"

#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "tools/toolCommandLine.h"

#include "buildConfig.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <string>

namespace {
const std::string kUsage =
    ToolUsage("vt-figura PASTA [N ...]",
              "Redesenha PASTA/images/aula<N>.jpg a partir de PASTA/aulas/aula<N>.aul (todas as aulas\n"
              "sem N); a aula que não estiver em PASTA/aulas vem da instalação. PASTA pode ser a pasta\n"
              "de dados: o que é feito nela segue as permissões dela.");
} // namespace

int main(int argc, char* argv[]) {
    const ToolCommandLine line = ReadToolCommandLine("vt-figura", kUsage, argc, argv);
    if (line.exitCode)
        return *line.exitCode;
    if (line.arguments.empty())
        return RefuseToolCommandLine("vt-figura", kUsage);
    std::vector<int> numbers;
    for (std::size_t i = 1; i < line.arguments.size(); ++i) {
        const std::string& arg = line.arguments[i];
        const bool digits =
            !arg.empty() && arg.size() <= 2 && arg.find_first_not_of("0123456789") == std::string::npos;
        const int n = digits ? std::stoi(arg) : 0;
        if (n < 1 || n > 24) {
            std::fprintf(stderr, "vt-figura: \"%s\" não é um número de aula (de 1 a 24).\n", arg.c_str());
            return 2;
        }
        numbers.push_back(n);
    }
    // Drawing needs no screen: a teacher may run it over a remote shell.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int toolkitArgc = 1;
    QGuiApplication app(toolkitArgc, argv);
    try {
        // The folder is the data folder while drawing: nothing in it is reached through a link, and what
        // is made there takes its modes from it, not from the umask.
        const std::filesystem::path folder = PathFromUtf8(line.arguments[0]);
        SetProgramFolder(std::filesystem::absolute(folder).lexically_normal());
        // Installed, the lessons a teacher did not change are the installation's (../share/velotecla).
        const QString installed =
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(VT_INSTALLED_DATA));
        DrawLessonPictures(QDir(QString::fromStdString(PathToUtf8(ProgramFolder()))), numbers,
                           QDir::cleanPath(installed));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vt-figura: %s\n", e.what());
        return 1;
    }
    return 0;
}
