// The windows in a Wayland session (run by run-weston.sh under a headless weston with XWayland):
// as the program starts there by itself they go through XWayland, placed as designed; with the
// Wayland back-end forced they still start, show and judge keys.
#include "../gui/exerciseDriver.h"
#include "core/platform/displayBackend.h"
#include "windows/course/uSplash.h"
#include "windows/course/uTela.h"
#include "windows/widgets/balloonHint.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QScreen>

namespace {
// How many pixels of a colour the picture holds inside a rectangle.
int count(const QImage& shot, const QRect& area, QRgb colour) {
    int n = 0;
    const QRect r = area.intersected(shot.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qAbs(qRed(shot.pixel(x, y)) - qRed(colour)) <= 8 &&
                 qAbs(qGreen(shot.pixel(x, y)) - qGreen(colour)) <= 8 &&
                 qAbs(qBlue(shot.pixel(x, y)) - qBlue(colour)) <=
                     8; // the compositor's blending may shift a colour
    return n;
}

bool throughX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// The compositor's own picture of its screen (weston-screenshooter, weston started with --debug).
QImage screenshot(const QString& name) {
    QTemporaryDir dir;
    QProcess shooter;
    shooter.setWorkingDirectory(dir.path());
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    if (!shooter.waitForStarted(3000))
        return {};
    QElapsedTimer clock;
    clock.start();
    while (shooter.state() != QProcess::NotRunning && clock.elapsed() < 5000)
        QTest::qWait(10);
    const QStringList shots = QDir(dir.path()).entryList({QStringLiteral("*.png")});
    if (shots.isEmpty())
        return {};
    const QString file = dir.filePath(shots.first());
    const QString folder = qEnvironmentVariable("VT_SCREENSHOTS");
    if (!folder.isEmpty())
        QFile::copy(file,
                    QStringLiteral("%1/weston-%2-%3.png").arg(folder, QGuiApplication::platformName(), name));
    return QImage(file);
}
} // namespace

class TestWayland : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qInfo() << "back-end:" << QGuiApplication::platformName() << "QT_QPA_PLATFORM"
                << qEnvironmentVariable("QT_QPA_PLATFORM");
        QVERIFY(!qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty());
        if (qEnvironmentVariable("QT_QPA_PLATFORM_FORCED") != QLatin1String("wayland"))
            QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }

    // The roster centred with its balloon on screen.
    void roster() {
        TestProgram program(true);
        program.createWindows();
        frmsplash->tmrOcultarTimer();
        QVERIFY(QTest::qWaitForWindowExposed(frmTela));
        if (!throughX11()) {
            QTest::qWait(500);
            screenshot(QStringLiteral("roster"));
            QSKIP("a Wayland client cannot place its windows nor show positioned balloons: not checked");
        }
        QTRY_VERIFY(frmTela->ohint->IsShowing());
        QTest::qWait(500);
        const QImage shot = screenshot(QStringLiteral("roster"));
        const QRect screen = frmTela->screen()->geometry();
        QVERIFY(qAbs(frmTela->frameGeometry().center().x() - screen.center().x()) <= 2);
        QVERIFY(qAbs(frmTela->frameGeometry().center().y() - screen.center().y()) <= 12);
        QVERIFY(screen.contains(frmTela->ohint->geometry()));
        // The balloon's pale fill is on the compositor's screen where the balloon is.
        QVERIFY(!shot.isNull());
        const QRect balloon = frmTela->ohint->geometry();
        QVERIFY2(count(shot, balloon, qRgb(0xFF, 0xFF, 0xE1)) > balloon.width() * balloon.height() / 3,
                 qPrintable(QStringLiteral("%1 pale pixels in %2,%3 %4x%5 of %6 on the screen")
                                .arg(count(shot, balloon, qRgb(0xFF, 0xFF, 0xE1)))
                                .arg(balloon.x())
                                .arg(balloon.y())
                                .arg(balloon.width())
                                .arg(balloon.height())
                                .arg(count(shot, shot.rect(), qRgb(0xFF, 0xFF, 0xE1)))));
    }

    // A lesson: keys judged; through XWayland the keyboard is above the exercise window, lit.
    void exercise() {
        ExerciseDriver d;
        d.loadLesson(1, kAsdModel, 5, "00:10:00", 90);
        int litPixels = 0, keyboardPixels = 0;
        d.run([&] {
            QTest::qWait(300);
            ExerciseDriver::press(Qt::Key_F5);
            QTRY_VERIFY(ExerciseState.Running);
            ExerciseDriver::type({Qt::Key_A, Qt::Key_S});
            QCOMPARE(ExerciseState.LettersRight, 2);
            QLabel* m = frmKey->Key(QStringLiteral("l49"));
            frmKey->Light({m});
            QTest::qWait(300);
            const QImage shot = screenshot(QStringLiteral("exercise"));
            // The compositor places the keyboard where it likes: it is looked for on the whole screen.
            litPixels = count(shot, shot.rect(), qRgb(0xE8, 0x00, 0x00));
            keyboardPixels = count(shot, shot.rect(), qRgb(0x40, 0x00, 0x00));
            frmKey->Unlight({m});
            ExerciseDriver::press(Qt::Key_D);
            d.program.answers.push_back(true);
            ExerciseDriver::press(Qt::Key_Escape);
        });
        QCOMPARE(ExerciseState.LettersRight, 3);
        if (throughX11()) {
            // The keyboard's dark red and the lit key's red show: it is above the exercise window.
            QVERIFY2(keyboardPixels > 200, qPrintable(QString::number(keyboardPixels)));
            QVERIFY2(litPixels > 40, qPrintable(QString::number(litPixels)));
        }
    }
};

int main(int argc, char* argv[]) {
    // As the program does: the back-end is chosen before the application object is made.
    qputenv("QT_QPA_PLATFORM_FORCED", qgetenv("QT_QPA_PLATFORM"));
    ChooseDisplayBackend();
    QApplication app(argc, argv);
    TestWayland test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_wayland.moc"
