#include "app/windowSet.h"
#include "platform/displayBackend.h"
#include "widgets/qtText.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    ChooseDisplayBackend();
    QApplication app(argc, argv);
    // The splash is the main window but is hidden after 3 s; only the roster's exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    SetUpProgram(ToPath(QCoreApplication::applicationDirPath()));
    CreateWindowSet();
    return QApplication::exec();
}
