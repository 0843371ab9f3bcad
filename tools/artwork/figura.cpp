// vt-figura: the teacher's tool for lesson pictures, shipped beside the program.
//   vt-figura PASTA [N ...]   redraws PASTA/images/aula<N>.jpg from the lesson files in PASTA/aulas
//                             (every lesson when no number is given); a lesson missing in PASTA/aulas
//                             is read from the installation's, so PASTA may be a data folder
#include "keyboardArt.h"

#include "buildConfig.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char* argv[]) {
    // Drawing needs no screen: a teacher may run it over a remote shell.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: vt-figura PASTA_DO_PROGRAMA [N ...]\n"
                             "     redesenha images/aula<N>.jpg a partir de aulas/aula<N>.aul "
                             "(todas as aulas sem N)\n");
        return 2;
    }
    std::vector<int> numbers;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool digits =
            !arg.empty() && arg.size() <= 2 && arg.find_first_not_of("0123456789") == std::string::npos;
        const int n = digits ? std::stoi(arg) : 0;
        if (n < 1 || n > 24) {
            std::fprintf(stderr, "vt-figura: \"%s\" não é um número de aula (de 1 a 24).\n", argv[i]);
            return 2;
        }
        numbers.push_back(n);
    }
    try {
        // Installed, the lessons a teacher did not change are the installation's (../share/velotecla).
        const QString installed =
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(VT_INSTALLED_DATA));
        DrawLessonPictures(QDir(QString::fromLocal8Bit(argv[1])), numbers, QDir::cleanPath(installed));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vt-figura: %s\n", e.what());
        return 1;
    }
    return 0;
}
