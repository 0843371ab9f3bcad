// Prints the scan code and the virtual-key code of every key that goes down in a window that judges
// keys as the exercise window does (input method off). Run by hand under X11 with keyProbe.sh, which
// presses every key of the on-screen keyboard by its physical place under the US and ABNT2 layouts.
#include "windows/glue/keyCodes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdio>

namespace {
class Probe : public QWidget {
protected:
    void keyPressEvent(QKeyEvent* event) override {
        std::printf("%u %d\n", event->nativeScanCode(), VirtualKeyOf(event));
        std::fflush(stdout);
    }
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Probe probe;
    probe.setAttribute(Qt::WA_InputMethodEnabled, false);
    probe.resize(200, 100);
    probe.show();
    probe.activateWindow();
    return QApplication::exec();
}
