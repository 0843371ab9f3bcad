// Start-up under faults: a slow start, leftovers of killed writes, a splash picture of another size.
#include "core/platform/jpeg.h"
#include "support/testProgram.h"
#include "windows/course/uSplash.h"
#include "windows/course/uTela.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/qtText.h"

#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void theSplashTimerNeverShowsARosterNotYetMade();
    void temporariesLeftByKilledWritesAreRemoved();
    void theSplashTakesItsPicturesSize();
};

void TestStartup::cleanup() {
    SetMessageSink(nullptr);
}

// The roster cannot make its folder ("users" is a file) and the error box stays open for 3.5 s: the
// splash timer fires inside the box's event loop, before the roster exists.
void TestStartup::theSplashTimerNeverShowsARosterNotYetMade() {
    TestProgram program(true);
    program.writeFile("users", "um arquivo, não uma pasta");
    QStringList errors;
    MessageSink slowReader;
    slowReader.error = [&errors](const QString& text) {
        errors << text;
        QTest::qWait(3500);
    };
    SetMessageSink(&slowReader);
    program.createWindows();
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().startsWith("Cannot create directory"));
    QTRY_VERIFY(frmTela->isVisible());
    QVERIFY(!frmsplash->isVisible());
}

void TestStartup::temporariesLeftByKilledWritesAreRemoved() {
    TestProgram program(true);
    const QStringList stale = {"users/.Ana.0123456789ab.tmp", "aulas/.aula3_Ana.def.abcdef012345.tmp",
                               ".velotecla.INI.00000000000a.tmp"};
    // Which names are temporaries is the atomic writes' rule; here every folder is swept, after the wait.
    const QStringList kept = {"users/.Bia.fedcba987654.tmp"}; // young: a write under way elsewhere
    for (const QString& name : stale + kept)
        program.writeFile(name, "[Aula1]\r\n");
    for (const QString& name : stale) {
        QFile f(program.path(name));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(
            f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }
    program.createWindows();
    for (const QString& name : stale)
        QVERIFY2(!QFile::exists(program.path(name)), qPrintable(name));
    for (const QString& name : kept)
        QVERIFY2(QFile::exists(program.path(name)), qPrintable(name));
}

void TestStartup::theSplashTakesItsPicturesSize() {
    const DesignScale s;
    {
        TestProgram program(true);
        program.createWindows();
        QCOMPARE(frmsplash->size(), QSize(s(485), s(194))); // the picture shipped is the designed size
    }
    TestProgram program(true);
    RawPicture small;
    small.width = 200;
    small.height = 100;
    small.pixels.assign(std::size_t{200} * 100 * 4, 0x40);
    EncodeJpegFile(small, ToPath(program.path("splash.jpg")));
    program.createWindows();
    QVERIFY(program.errors.isEmpty());
    QCOMPARE(frmsplash->Image1->size(), QSize(s(200), s(100)));
    QCOMPARE(frmsplash->size(), QSize(s(200), s(100)));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
