// The windows in a Wayland session (run by run-weston.sh under a headless weston with XWayland):
// as the program starts there by itself they go through XWayland, placed as designed; with the
// Wayland back-end forced they still start, show and judge keys. Either way the exercise window is
// full screen with the keyboard inside it.
#include "../gui/exerciseDriver.h"
#include "core/platform/displayBackend.h"
#include "core/storage/password.h"
#include "core/storage/profileKeys.h"
#include "core/storage/registry.h"
#include "windows/course/uAulas.h"
#include "windows/course/uPassWord.h"
#include "windows/course/uSplash.h"
#include "windows/course/uTela.h"
#include "windows/widgets/balloonHint.h"
#include "windows/widgets/designScale.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QScreen>

namespace {
// Whether a pixel is of a colour; the compositor's blending may shift a colour a little.
bool near(QRgb pixel, QRgb colour) {
    return qAbs(qRed(pixel) - qRed(colour)) <= 8 && qAbs(qGreen(pixel) - qGreen(colour)) <= 8 &&
           qAbs(qBlue(pixel) - qBlue(colour)) <= 8;
}

// How many pixels of a colour the picture holds inside a rectangle.
int count(const QImage& shot, const QRect& area, QRgb colour) {
    int n = 0;
    const QRect r = area.intersected(shot.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += near(shot.pixel(x, y), colour);
    return n;
}

// The smallest rectangle holding every pixel of a colour.
QRect extent(const QImage& shot, QRgb colour) {
    QRect box;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (near(shot.pixel(x, y), colour))
                box |= QRect(x, y, 1, 1);
    return box;
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
    const QString kept =
        QStringLiteral("%1/weston-%2-%3.png").arg(folder, QGuiApplication::platformName(), name);
    if (!folder.isEmpty() && (!QFile::exists(kept) || QFile::remove(kept))) // a copy never overwrites
        QFile::copy(file, kept);
    return QImage(file);
}

// Real keys, from the X server the compositor reads its seat's keyboard from (VT_SEAT_DISPLAY).
void key(const QString& keys) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("VT_SEAT_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("xdotool key --delay 80 ") + keys});
    p.waitForStarted();
    QElapsedTimer clock;
    clock.start();
    while (p.state() != QProcess::NotRunning && clock.elapsed() < 10000)
        QTest::qWait(5);
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
            QSKIP("a Wayland client cannot place its windows: their places are not checked");
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

    // Real keys from the compositor's keyboard (a weston with a seat, run-weston.sh's last run): the
    // password typed in the access dialog, then an arrow in the catalogue that opens after it. The
    // catalogue's balloon, a window of its own, used to take the keyboard from it under Wayland.
    void keysReachTheCatalogueAfterTheAccessDialog() {
        if (qEnvironmentVariable("VT_SEAT_DISPLAY").isEmpty())
            QSKIP("no keyboard in this compositor (run-weston.sh gives one in its last run)");
        TestProgram program(true);
        program.writeFile(
            QStringLiteral("users/ana"),
            "[Aula1]\r\nHabilitado=1\r\n[Aula2]\r\nHabilitado=1\r\n[Definition]\r\nControl=0\r\n"
            "Information=" +
                QByteArray::fromStdString(EncodePassword("1234")) + "\r\n");
        program.createWindows();
        WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, keys::MarkerText);
        frmsplash->tmrOcultarTimer();
        QVERIFY(QTest::qWaitForWindowExposed(frmTela));
        frmTela->lstUsr->setCurrentRow(0);
        int index = -1;
        QString active;
        WhenModal([](QWidget*) { key(QStringLiteral("1 2 3 4 Return")); }, nullptr, 10000);
        WhenModal(
            [&](QWidget* catalogue) {
                QTest::qWait(800); // the balloon comes up
                key(QStringLiteral("Down"));
                QTest::qWait(500);
                index = frmAulas->ItemIndex();
                const QWindow* focus = QGuiApplication::focusWindow();
                active = focus ? focus->objectName() : QStringLiteral("none");
                catalogue->close();
            },
            frmPassWord, 20000);
        // A password never typed leaves the dialog waiting: it is closed, and the check fails.
        QTimer::singleShot(15000, frmPassWord, [] { frmPassWord->close(); });
        frmTela->btnSelClick();
        QVERIFY2(index == 1,
                 qPrintable(QStringLiteral("lesson %1 selected, the keyboard at %2").arg(index).arg(active)));
    }

    // A lesson: keys judged; the exercise window covers the screen from 0,0, the keyboard lit above
    // it at its place under the picture, whichever way the windows go to the compositor.
    void exercise() {
        ExerciseDriver d;
        d.loadLesson(1, kAsdModel, 5, "00:10:00", 90);
        int litPixels = 0, keyboardPixels = 0;
        QRect banner, keyboard, picture;
        int bottomEdge = 0;
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
            // Looked for on the whole screen: a compositor may put it anywhere.
            litPixels = count(shot, shot.rect(), qRgb(0xE8, 0x00, 0x00));
            keyboardPixels = count(shot, shot.rect(), qRgb(0x40, 0x00, 0x00));
            banner = extent(shot, qRgb(0x00, 0x54, 0xA8));
            keyboard = extent(shot, qRgb(0x40, 0x00, 0x00));
            bottomEdge = count(shot, QRect(0, shot.height() - 1, shot.width(), 1), qRgb(0xB5, 0xC1, 0xD9));
            picture = frmExec->Panel1->geometry();
            frmKey->Unlight({m});
            ExerciseDriver::press(Qt::Key_D);
            d.program.answers.push_back(true);
            ExerciseDriver::press(Qt::Key_Escape);
        });
        QCOMPARE(ExerciseState.LettersRight, 3);
        // The banner spans the screen's top edge (inside its 2-pixel bevel) and the window's
        // background lines the bottom edge: the window is at 0,0, as large as the screen.
        const QSize screen = QGuiApplication::primaryScreen()->size();
        QCOMPARE(banner.topLeft(), QPoint(2, 2));
        QCOMPARE(banner.right(), screen.width() - 3);
        QVERIFY2(bottomEdge > screen.width() / 2, qPrintable(QString::number(bottomEdge)));
        // The keyboard's dark red and the lit key's red show: it is above the exercise window, at
        // its designed place, under the picture.
        QVERIFY2(keyboardPixels > 200, qPrintable(QString::number(keyboardPixels)));
        QVERIFY2(litPixels > 40, qPrintable(QString::number(litPixels)));
        const DesignScale s;
        QCOMPARE(keyboard.topLeft(), QPoint(s(18), s(336)));
        QVERIFY(keyboard.top() > picture.bottom());
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
