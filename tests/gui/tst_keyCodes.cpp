// Key codes through the platform's key path: a key event as X11 and Wayland deliver it (the X keycode
// as the native scan code, the layout's key and text) must give the Windows code of the physical key,
// and that code must light the same key of the on-screen keyboard, whichever layout the system uses.
#include "support/testProgram.h"
#include "windows/course/uKey.h"
#include "windows/glue/keyCodes.h"

#include <QKeyEvent>
#include <QLabel>
#include <QtTest>

namespace {
// A window that judges keys as the exercise window does: input method off, every key-down recorded.
class KeyRecorder : public QWidget {
public:
    KeyRecorder() { setAttribute(Qt::WA_InputMethodEnabled, false); }
    QList<int> codes;

protected:
    void keyPressEvent(QKeyEvent* event) override { codes << VirtualKeyOf(event); }
};

struct PhysicalKey {
    const char* onScreen; // the on-screen key it must light
    quint32 xKeycode;
    int usKey;
    const char* usText;
    int abntKey; // what the Brazilian ABNT2 layout makes of the same key
    const char* abntText;
    int code; // the Windows code of the key
};

const PhysicalKey kKeys[] = {
    {"l1", 49, Qt::Key_QuoteLeft, "`", Qt::Key_Apostrophe, "'", 192},
    {"l2", 10, Qt::Key_1, "1", Qt::Key_1, "1", 49},
    {"l3", 11, Qt::Key_2, "2", Qt::Key_2, "2", 50},
    {"l4", 12, Qt::Key_3, "3", Qt::Key_3, "3", 51},
    {"l5", 13, Qt::Key_4, "4", Qt::Key_4, "4", 52},
    {"l6", 14, Qt::Key_5, "5", Qt::Key_5, "5", 53},
    {"l7", 15, Qt::Key_6, "6", Qt::Key_6, "6", 54},
    {"l8", 16, Qt::Key_7, "7", Qt::Key_7, "7", 55},
    {"l9", 17, Qt::Key_8, "8", Qt::Key_8, "8", 56},
    {"l10", 18, Qt::Key_9, "9", Qt::Key_9, "9", 57},
    {"l11", 19, Qt::Key_0, "0", Qt::Key_0, "0", 48},
    {"l12", 20, Qt::Key_Minus, "-", Qt::Key_Minus, "-", 189},
    {"l13", 21, Qt::Key_Equal, "=", Qt::Key_Equal, "=", 187},
    {"l14", 51, Qt::Key_Backslash, "\\", Qt::Key_BracketRight, "]", 220},
    {"l15", 22, Qt::Key_Backspace, "\b", Qt::Key_Backspace, "\b", 8},
    {"l16", 23, Qt::Key_Tab, "\t", Qt::Key_Tab, "\t", 9},
    {"l17", 24, Qt::Key_Q, "q", Qt::Key_Q, "q", 81},
    {"l18", 25, Qt::Key_W, "w", Qt::Key_W, "w", 87},
    {"l19", 26, Qt::Key_E, "e", Qt::Key_E, "e", 69},
    {"l20", 27, Qt::Key_R, "r", Qt::Key_R, "r", 82},
    {"l21", 28, Qt::Key_T, "t", Qt::Key_T, "t", 84},
    {"l22", 29, Qt::Key_Y, "y", Qt::Key_Y, "y", 89},
    {"l23", 30, Qt::Key_U, "u", Qt::Key_U, "u", 85},
    {"l24", 31, Qt::Key_I, "i", Qt::Key_I, "i", 73},
    {"l25", 32, Qt::Key_O, "o", Qt::Key_O, "o", 79},
    {"l26", 33, Qt::Key_P, "p", Qt::Key_P, "p", 80},
    {"l27", 34, Qt::Key_BracketLeft, "[", Qt::Key_Dead_Acute, "", 219},
    {"l28", 35, Qt::Key_BracketRight, "]", Qt::Key_BracketLeft, "[", 221},
    {"l29_1", 36, Qt::Key_Return, "\r", Qt::Key_Return, "\r", 13},
    {"l30", 66, Qt::Key_CapsLock, "", Qt::Key_CapsLock, "", 20},
    {"l31", 38, Qt::Key_A, "a", Qt::Key_A, "a", 65},
    {"l32", 39, Qt::Key_S, "s", Qt::Key_S, "s", 83},
    {"l33", 40, Qt::Key_D, "d", Qt::Key_D, "d", 68},
    {"l34", 41, Qt::Key_F, "f", Qt::Key_F, "f", 70},
    {"l35", 42, Qt::Key_G, "g", Qt::Key_G, "g", 71},
    {"l36", 43, Qt::Key_H, "h", Qt::Key_H, "h", 72},
    {"l37", 44, Qt::Key_J, "j", Qt::Key_J, "j", 74},
    {"l38", 45, Qt::Key_K, "k", Qt::Key_K, "k", 75},
    {"l39", 46, Qt::Key_L, "l", Qt::Key_L, "l", 76},
    {"l40", 47, Qt::Key_Semicolon, ";", Qt::Key_Ccedilla, "ç", 186},
    {"l41", 48, Qt::Key_Apostrophe, "'", Qt::Key_Dead_Tilde, "", 222},
    {"l42", 50, Qt::Key_Shift, "", Qt::Key_Shift, "", 16},
    {"l43", 52, Qt::Key_Z, "z", Qt::Key_Z, "z", 90},
    {"l44", 53, Qt::Key_X, "x", Qt::Key_X, "x", 88},
    {"l45", 54, Qt::Key_C, "c", Qt::Key_C, "c", 67},
    {"l46", 55, Qt::Key_V, "v", Qt::Key_V, "v", 86},
    {"l47", 56, Qt::Key_B, "b", Qt::Key_B, "b", 66},
    {"l48", 57, Qt::Key_N, "n", Qt::Key_N, "n", 78},
    {"l49", 58, Qt::Key_M, "m", Qt::Key_M, "m", 77},
    {"l50", 59, Qt::Key_Comma, ",", Qt::Key_Comma, ",", 188},
    {"l51", 60, Qt::Key_Period, ".", Qt::Key_Period, ".", 190},
    {"l52", 61, Qt::Key_Slash, "/", Qt::Key_Semicolon, ";", 191},
    {"l53", 62, Qt::Key_Shift, "", Qt::Key_Shift, "", 16},
    {"l54", 65, Qt::Key_Space, " ", Qt::Key_Space, " ", 32},
};

int press(KeyRecorder& w, int key, quint32 scan, const QString& text, Qt::KeyboardModifiers mods = {}) {
    w.codes.clear();
    QKeyEvent event(QEvent::KeyPress, key, mods, scan, 0, 0, text);
    QApplication::sendEvent(&w, &event);
    return w.codes.value(0, -1);
}
} // namespace

class TestKeyCodes : public QObject {
    Q_OBJECT
private slots:
    void everyKeyUnderBothLayouts() {
        TestProgram program;
        program.createWindows();
        KeyRecorder w;
        int checked = 0;
        for (const PhysicalKey& k : kKeys) {
            const QString what = QString::fromLatin1(k.onScreen);
            QCOMPARE(press(w, k.usKey, k.xKeycode, QString::fromUtf8(k.usText)), k.code);
            QCOMPARE(press(w, k.abntKey, k.xKeycode, QString::fromUtf8(k.abntText)), k.code);
            // The code lights exactly the key at that place (Tab is never lit).
            const QList<QLabel*> lit = frmKey->KeysOf(static_cast<std::uint16_t>(k.code));
            QLabel* key = frmKey->Key(what);
            QVERIFY2(key, qPrintable(what));
            if (what == QLatin1String("l16"))
                QVERIFY(lit.isEmpty());
            else
                QVERIFY2(lit.contains(key), qPrintable(what));
            ++checked;
        }
        // Every key of the keyboard is in the table (l29_2 and l29_3 are lit with l29_1).
        QCOMPARE(checked + 2, frmKey->Keys().size());
        QCOMPARE(frmKey->Keys().size(), 56);
    }

    void brazilianExtrasAndTheNumericPad() {
        KeyRecorder w;
        QCOMPARE(press(w, Qt::Key_Slash, 97, QStringLiteral("/")), 193); // ABNT2 key left of right Shift
        QCOMPARE(press(w, Qt::Key_Backslash, 94, QStringLiteral("\\")), 226);
        // The pad follows Num Lock, as on Windows.
        QCOMPARE(press(w, Qt::Key_1, 87, QStringLiteral("1"), Qt::KeypadModifier), 97);
        QCOMPARE(press(w, Qt::Key_End, 87, QString(), Qt::KeypadModifier), 35);
        QCOMPARE(press(w, Qt::Key_Enter, 104, QStringLiteral("\r"), Qt::KeypadModifier), 13);
        QCOMPARE(press(w, Qt::Key_Comma, 91, QStringLiteral(","), Qt::KeypadModifier), 110);
        // Keys without a Windows code.
        QCOMPARE(press(w, Qt::Key_unknown, 250, QString()), 0);
        QCOMPARE(press(w, Qt::Key_Escape, 9, QString()), 27);
        QCOMPARE(press(w, Qt::Key_F1, 67, QString()), 112);
        QCOMPARE(press(w, Qt::Key_F12, 96, QString()), 123);
    }

    void fallbackWithoutScanCodes() {
        // Platforms without scan codes: the key's character at its US place, what only Brazilian
        // layouts type at its ABNT2 place.
        KeyRecorder w;
        for (const PhysicalKey& k : kKeys)
            QCOMPARE(press(w, k.usKey, 0, QString::fromUtf8(k.usText)), k.code);
        QCOMPARE(press(w, Qt::Key_Dead_Acute, 0, QString()), 219);
        QCOMPARE(press(w, Qt::Key_Dead_Tilde, 0, QString()), 222);
        QCOMPARE(press(w, Qt::Key_Ccedilla, 0, QStringLiteral("ç")), 186);
        QCOMPARE(press(w, Qt::Key_Question, 0, QStringLiteral("?")), 191);
        QCOMPARE(press(w, Qt::Key_Colon, 0, QStringLiteral(":")), 186);
        QCOMPARE(press(w, Qt::Key_Exclam, 0, QStringLiteral("!")), 49);
        QCOMPARE(press(w, Qt::Key_ParenRight, 0, QStringLiteral(")")), 48);
        QCOMPARE(press(w, Qt::Key_F5, 0, QString()), 116);
        QCOMPARE(press(w, Qt::Key_Escape, 0, QString()), 27);
    }
};

QTEST_MAIN(TestKeyCodes)
#include "tst_keyCodes.moc"
