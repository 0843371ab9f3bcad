// The on-screen keyboard: its keys, legends per layout, placing, and flashes that always end in the
// normal colours, however they nest.
#include "core/platform/tickCounter.h"
#include "support/testProgram.h"
#include "windows/course/uAulas.h"
#include "windows/course/uExec.h"
#include "windows/course/uKey.h"
#include "windows/glue/keyCodes.h"
#include "windows/widgets/designScale.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QtTest>

namespace {
const QColor kOrdinary(0xC4, 0xFF, 0xEF);
const QColor kFunction(0x01, 0xCB, 0xC1);
const QColor kRed(0xE8, 0x00, 0x00);

QColor background(const QLabel* key) {
    return key->palette().color(QPalette::Window);
}
QColor textColour(const QLabel* key) {
    return key->palette().color(QPalette::WindowText);
}
bool isFunctionKey(const QString& name) {
    static const QStringList names = {"l15", "l16", "l29_1", "l29_2", "l29_3", "l30", "l42", "l53"};
    return names.contains(name);
}
// Every key in its normal look: mint or teal background, never white text.
void verifyAllNormal() {
    for (QLabel* key : frmKey->Keys()) {
        QCOMPARE(background(key), isFunctionKey(key->objectName()) ? kFunction : kOrdinary);
        QVERIFY(textColour(key) != QColor(Qt::white));
        QVERIFY(!frmKey->IsLit(key));
    }
}
QStringList legends() {
    QStringList out;
    for (const char* name : {"l27", "l28", "l40", "l41", "l52"})
        out << frmKey->Key(QString::fromLatin1(name))->text();
    return out;
}

// Stands in for the exercise window: every key-down is flashed, as the exercise does.
class Typist : public QWidget {
public:
    Typist() { setAttribute(Qt::WA_InputMethodEnabled, false); }
    QList<QPair<int, bool>> seen; // code, and whether the key of 'A' was lit when it arrived
protected:
    void keyPressEvent(QKeyEvent* event) override {
        const auto code = VirtualKeyOf(event);
        seen << qMakePair(int(code), frmKey->IsLit(frmKey->Key(QStringLiteral("l31"))));
        FlashKey(code);
    }
};
} // namespace

class TestKey : public QObject {
    Q_OBJECT
    std::unique_ptr<TestProgram> program;

    void setLayout(const char* value) {
        program->writeFile(QStringLiteral("users/aluno"),
                           QByteArray("[Keyboard]\r\nLayout=") + value + "\r\n");
    }

private slots:
    void init() {
        program = std::make_unique<TestProgram>();
        program->writeFile(QStringLiteral("users/aluno"), "[Aula1]\r\nHabilitado=1\r\n");
        program->createWindows();
        frmAulas->StudentProfilePath = program->path(QStringLiteral("users/aluno"));
    }
    void cleanup() {
        SetTickSource({});
        program.reset();
    }

    void madeOffScreenWithTheDesignedKeys() {
        QCOMPARE(frmKey->pos(), QPoint(10000, 10000));
        QVERIFY(!frmKey->isVisible());
        QVERIFY(frmKey->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(frmKey->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY(frmKey->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(frmKey->palette().color(QPalette::Window), QColor(0x40, 0, 0));
        const DesignScale s;
        QCOMPARE(frmKey->size(), QSize(s(243), s(92)));
        QCOMPARE(frmKey->Keys().size(), 56);
        QCOMPARE(frmKey->Key("l1")->geometry(), s.rect(3, 2, 14, 17));
        QCOMPARE(frmKey->Key("l15")->geometry(), s.rect(227, 2, 14, 17));
        QCOMPARE(frmKey->Key("l29_2")->geometry(), s.rect(220, 31, 20, 8));
        QCOMPARE(frmKey->Key("l29_2")->frameShape(), QFrame::NoFrame);
        QCOMPARE(frmKey->Key("l29_3")->text(), QStringLiteral("  ENTER"));
        QCOMPARE(frmKey->Key("l53")->geometry(), s.rect(199, 56, 42, 17));
        QCOMPARE(frmKey->Key("l54")->geometry(), s.rect(69, 74, 91, 17));
        QVERIFY(frmKey->Key("l16")->isHidden());
        // As designed before any layout is applied.
        QCOMPARE(legends(), (QStringList{"[", "]", ";", "'", "/"}));
        for (QLabel* key : frmKey->Keys())
            QCOMPARE(key->focusPolicy(), Qt::NoFocus);
        verifyAllNormal();
    }

    void legendsFollowTheStudentsLayout() {
        setLayout("2"); // neither layout: the designed legends stay
        ShowKeyboard(18, 336, frmExec);
        QCOMPARE(legends(), (QStringList{"[", "]", ";", "'", "/"}));
        setLayout("1");
        ShowKeyboard(18, 336, frmExec);
        QCOMPARE(legends(), (QStringList{"´", "[", "Ç", "~", ";"}));
        setLayout("2"); // the last layout applied stays
        ShowKeyboard(18, 336, frmExec);
        QCOMPARE(legends(), (QStringList{"´", "[", "Ç", "~", ";"}));
        setLayout("0");
        ShowKeyboard(18, 336, frmExec);
        QCOMPARE(legends(), (QStringList{"[", "]", ";", "´", "/"}));
        // Not a number: the error ends the call, the keyboard is placed and the legends stay.
        setLayout("abc");
        HideKeyboard();
        QVERIFY_THROWS_EXCEPTION(std::exception, ShowKeyboard(20, 300, frmExec));
        const DesignScale s;
        QCOMPARE(frmKey->pos(), QPoint(s(20), s(300)));
        QCOMPARE(legends(), (QStringList{"[", "]", ";", "´", "/"}));
    }

    void showAndHideMoveAndHideTheWindow() {
        const DesignScale s;
        ShowKeyboard(18, 336, frmExec);
        QVERIFY(frmKey->isVisible());
        QCOMPARE(frmKey->pos(), QPoint(s(18), s(336)));
        // The default layout is stored in the profile when absent.
        QVERIFY(program->readFile("users/aluno").contains("Layout=0"));
        HideKeyboard();
        QVERIFY(!frmKey->isVisible());
        QCOMPARE(frmKey->pos(), QPoint(10000, 10000));
        ShowKeyboard(40, 50, frmExec);
        QVERIFY(frmKey->isVisible());
        QCOMPARE(frmKey->pos(), QPoint(s(40), s(50)));
    }

    void groupsOfKeys() {
        auto names = [](std::uint16_t code) {
            QStringList out;
            for (QLabel* k : frmKey->KeysOf(code))
                out << k->objectName();
            out.sort();
            return out;
        };
        QCOMPARE(names(13), (QStringList{"l29_1", "l29_2", "l29_3"}));
        QCOMPARE(names(16), (QStringList{"l42", "l53"}));
        QCOMPARE(names(48), QStringList{"l11"});
        QCOMPARE(names(49), QStringList{"l2"});
        QCOMPARE(names(57), QStringList{"l10"});
        QCOMPARE(names(65), QStringList{"l31"});
        QCOMPARE(names(90), QStringList{"l43"});
        QCOMPARE(names(186), QStringList{"l40"});
        QCOMPARE(names(191), QStringList{"l52"});
        QCOMPARE(names(192), QStringList{"l1"});
        QCOMPARE(names(222), QStringList{"l41"});
        // Relabelling does not change which key a code lights.
        setLayout("1");
        ShowKeyboard(18, 336, frmExec);
        QCOMPARE(names(186), QStringList{"l40"});
        QCOMPARE(names(219), QStringList{"l27"});
        for (int code : {0, 9, 27, 112, 123, 223, 255, 256, 1000, 65535})
            QVERIFY2(frmKey->KeysOf(static_cast<std::uint16_t>(code)).isEmpty(),
                     qPrintable(QString::number(code)));
    }

    void codesThatLightNothingReturnAtOnce() {
        int calls = 0;
        SetTickSource([&calls] { return static_cast<std::uint32_t>(++calls); });
        for (std::uint16_t code : {9, 27, 112, 223, 300})
            FlashKey(code);
        QCOMPARE(calls, 0); // no wait was even started
    }

    void aFlashLightsItsGroupAndPutsItBack() {
        ShowKeyboard(18, 336, frmExec);
        QList<QColor> during;
        QTimer::singleShot(60, [&] {
            for (QLabel* k : frmKey->KeysOf(13))
                during << background(k) << textColour(k);
        });
        FlashKey(13);
        QCOMPARE(during, (QList<QColor>{kRed, Qt::white, kRed, Qt::white, kRed, Qt::white}));
        verifyAllNormal();
    }

    void nestedFlashesEndInTheNormalColours() {
        Typist typist;
        typist.show();
        ShowKeyboard(18, 336, &typist);
        QLabel* a = frmKey->Key("l31");
        QColor midway;
        // 'A' again while its flash runs, then Shift, then 'A' once more inside that: each key-down
        // arrives inside the wait of the one before, as real keys do.
        QTimer::singleShot(40, [&] { QTest::keyClick(&typist, Qt::Key_A); });
        QTimer::singleShot(80, [&] { QTest::keyClick(&typist, Qt::Key_Shift); });
        QTimer::singleShot(120, [&] { QTest::keyClick(&typist, Qt::Key_A); });
        // Long after the outer flash would have ended on its own, 'A' is still held by the inner ones.
        QTimer::singleShot(220, [&] { midway = background(a); });
        QTest::keyClick(&typist, Qt::Key_A);
        QCOMPARE(typist.seen.size(), 4);
        QCOMPARE(typist.seen[1], qMakePair(65, true)); // it came while 'A' was lit
        QCOMPARE(midway, kRed);
        verifyAllNormal();
    }

    void theWaitSurvivesAWrapOfTheTickCounter() {
        // The counter wraps at 2^32 during the flash; the wait still ends after 150 ticks.
        std::uint32_t now = 0xFFFFFFFFu - 40;
        int reads = 0;
        SetTickSource([&] {
            ++reads;
            const std::uint32_t t = now;
            now += 50;
            return t;
        });
        QElapsedTimer clock;
        clock.start();
        KeyFlashDelay(150);
        QVERIFY(reads >= 4 && reads <= 6);
        QVERIFY(clock.elapsed() < 2000);
    }
};

QTEST_MAIN(TestKey)
#include "tst_key.moc"
