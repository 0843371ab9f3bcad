// Processor use of the on-screen keyboard's flashes: keys flashed at 6 a second for a few seconds,
// first with the keyboard's own wait, then with a literal busy-wait of the same length, side by side.
// Run by hand: flashKeyBench [seconds]   (any display, or QT_QPA_PLATFORM=offscreen)
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/platform/tickCounter.h"
#include "windows/course/uKey.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

// The same flash with the wait written as a plain loop around the event processing.
void busyFlash(std::uint16_t code) {
    const QList<QLabel*> keys = frmKey->KeysOf(code);
    frmKey->Light(keys);
    QCoreApplication::processEvents();
    const std::uint32_t start = TickCount();
    while (TickCount() - start < 150)
        QCoreApplication::processEvents();
    frmKey->Unlight(keys);
}

struct Figure {
    double cpuPercent;
    int flashes;
};

Figure run(int seconds, void (*flash)(std::uint16_t)) {
    int flashes = 0;
    QTimer pace;
    pace.setTimerType(Qt::PreciseTimer);
    pace.setInterval(1000 / 6);
    QObject::connect(&pace, &QTimer::timeout,
                     [&] { flash(static_cast<std::uint16_t>('A' + flashes++ % 26)); });
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    const double cpu0 = cpuSeconds();
    wall.start();
    pace.start();
    loop.exec();
    pace.stop();
    const double cpu = cpuSeconds() - cpu0;
    return {100.0 * cpu / (wall.nsecsElapsed() / 1e9), flashes};
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    QTemporaryDir folder;
    SetProgramFolder(folder.path().toStdString());
    frmKey = new TfrmKey;
    frmKey->move(20, 20);
    frmKey->show();

    const Figure own = run(seconds, [](std::uint16_t code) { FlashKey(code); });
    const Figure busy = run(seconds, busyFlash);
    std::printf("FlashKey at 6 flashes a second for %d s each (platform %s)\n", seconds,
                qPrintable(QGuiApplication::platformName()));
    std::printf("  %-32s %6.2f %% of one core  (%d flashes)\n", "keyboard's own wait (KeyFlashDelay)",
                own.cpuPercent, own.flashes);
    std::printf("  %-32s %6.2f %% of one core  (%d flashes)\n", "literal busy-wait", busy.cpuPercent,
                busy.flashes);
    delete frmKey;
    return 0;
}
