// The floor for the start-up figures: the least a Qt program does to put a window with a line of
// text on the screen. startup.sh times it beside the program, so that a figure can be read against
// what the machine allows at that moment.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Versão 1.7"));
    window.resize(485, 194);
    window.show();
    return QApplication::exec();
}
