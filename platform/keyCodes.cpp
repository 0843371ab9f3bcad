#include "platform/keyCodes.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>

namespace {
// Windows virtual-key codes used below.
enum : std::uint16_t {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,
    VK_PAUSE = 19,
    VK_CAPITAL = 20,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_SNAPSHOT = 44,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_LWIN = 91,
    VK_RWIN = 92,
    VK_APPS = 93,
    VK_NUMPAD0 = 96,
    VK_MULTIPLY = 106,
    VK_ADD = 107,
    VK_SUBTRACT = 109,
    VK_DECIMAL = 110,
    VK_DIVIDE = 111,
    VK_F1 = 112,
    VK_NUMLOCK = 144,
    VK_SCROLL = 145,
    VK_OEM_1 = 186,
    VK_OEM_PLUS = 187,
    VK_OEM_COMMA = 188,
    VK_OEM_MINUS = 189,
    VK_OEM_PERIOD = 190,
    VK_OEM_2 = 191,
    VK_OEM_3 = 192,
    VK_ABNT_C1 = 193,
    VK_ABNT_C2 = 194,
    VK_OEM_4 = 219,
    VK_OEM_5 = 220,
    VK_OEM_6 = 221,
    VK_OEM_7 = 222,
    VK_OEM_102 = 226,
};

// X keycodes 0..135 to the code of the key at that place on a Windows keyboard.
constexpr std::array<std::uint16_t, 136> makeTable() {
    std::array<std::uint16_t, 136> t{};
    t[9] = VK_ESCAPE;
    for (int i = 0; i < 9; ++i)
        t[10 + i] = static_cast<std::uint16_t>('1' + i);
    t[19] = '0';
    t[20] = VK_OEM_MINUS;
    t[21] = VK_OEM_PLUS;
    t[22] = VK_BACK;
    t[23] = VK_TAB;
    const char row2[] = "QWERTYUIOP";
    for (int i = 0; i < 10; ++i)
        t[24 + i] = static_cast<std::uint16_t>(row2[i]);
    t[34] = VK_OEM_4; // ABNT2: dead acute
    t[35] = VK_OEM_6; // ABNT2: [
    t[36] = VK_RETURN;
    t[37] = VK_CONTROL;
    const char row3[] = "ASDFGHJKL";
    for (int i = 0; i < 9; ++i)
        t[38 + i] = static_cast<std::uint16_t>(row3[i]);
    t[47] = VK_OEM_1; // ABNT2: Ç
    t[48] = VK_OEM_7; // ABNT2: dead tilde
    t[49] = VK_OEM_3; // ABNT2: '
    t[50] = VK_SHIFT;
    t[51] = VK_OEM_5; // ABNT2: ]
    const char row4[] = "ZXCVBNM";
    for (int i = 0; i < 7; ++i)
        t[52 + i] = static_cast<std::uint16_t>(row4[i]);
    t[59] = VK_OEM_COMMA;
    t[60] = VK_OEM_PERIOD;
    t[61] = VK_OEM_2; // ABNT2: ;
    t[62] = VK_SHIFT;
    t[64] = VK_MENU;
    t[65] = VK_SPACE;
    t[66] = VK_CAPITAL;
    for (int i = 0; i < 10; ++i)
        t[67 + i] = static_cast<std::uint16_t>(VK_F1 + i);
    t[77] = VK_NUMLOCK;
    t[78] = VK_SCROLL;
    t[94] = VK_OEM_102;  // the extra key left of Z on ISO keyboards
    t[95] = VK_F1 + 10;  // F11
    t[96] = VK_F1 + 11;  // F12
    t[97] = VK_ABNT_C1;  // ABNT2: / ? left of the right Shift
    t[105] = VK_CONTROL; // right
    t[107] = VK_SNAPSHOT;
    t[108] = VK_MENU; // AltGr
    t[110] = VK_HOME;
    t[111] = VK_UP;
    t[112] = VK_PRIOR;
    t[113] = VK_LEFT;
    t[114] = VK_RIGHT;
    t[115] = VK_END;
    t[116] = VK_DOWN;
    t[117] = VK_NEXT;
    t[118] = VK_INSERT;
    t[119] = VK_DELETE;
    t[127] = VK_PAUSE;
    t[129] = VK_ABNT_C2; // ABNT2: the numeric pad's extra "."
    t[133] = VK_LWIN;
    t[134] = VK_RWIN;
    t[135] = VK_APPS;
    return t;
}
constexpr auto kXTable = makeTable();

// Platforms that report the kernel's evdev code instead of the X keycode.
bool scanCodesAreEvdev() {
    const QString name = QGuiApplication::platformName();
    return name.startsWith(QLatin1String("eglfs")) || name == QLatin1String("linuxfb") ||
           name == QLatin1String("vkkhrdisplay");
}
} // namespace

std::uint16_t VirtualKeyFromXKeycode(std::uint32_t xKeycode) {
    return xKeycode < kXTable.size() ? kXTable[xKeycode] : 0;
}

std::uint16_t VirtualKeyFromQtKey(int key, bool keypad) {
    if (keypad) {
        // Num Lock on gives digits and the decimal point; off, the editing keys handled below.
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return static_cast<std::uint16_t>(VK_NUMPAD0 + (key - Qt::Key_0));
        switch (key) {
        case Qt::Key_Asterisk:
            return VK_MULTIPLY;
        case Qt::Key_Plus:
            return VK_ADD;
        case Qt::Key_Minus:
            return VK_SUBTRACT;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return VK_DECIMAL;
        case Qt::Key_Slash:
            return VK_DIVIDE;
        default:
            break;
        }
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::uint16_t>(key); // same codes as Windows: 65 to 90
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<std::uint16_t>(key); // 48 to 57
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<std::uint16_t>(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return VK_MENU;
    case Qt::Key_CapsLock:
        return VK_CAPITAL;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    // Shifted characters of the digit row (US places).
    case Qt::Key_Exclam:
        return '1';
    case Qt::Key_At:
        return '2';
    case Qt::Key_NumberSign:
        return '3';
    case Qt::Key_Dollar:
        return '4';
    case Qt::Key_Percent:
        return '5';
    case Qt::Key_AsciiCircum:
        return '6';
    case Qt::Key_Ampersand:
        return '7';
    case Qt::Key_Asterisk:
        return '8';
    case Qt::Key_ParenLeft:
        return '9';
    case Qt::Key_ParenRight:
        return '0';
    // ASCII punctuation at its US place, both characters of each key.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return VK_OEM_1;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return VK_OEM_PLUS;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return VK_OEM_COMMA;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return VK_OEM_MINUS;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return VK_OEM_PERIOD;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return VK_OEM_2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return VK_OEM_3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return VK_OEM_4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return VK_OEM_5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return VK_OEM_6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return VK_OEM_7;
    // What only a Brazilian layout types, at its ABNT2 place.
    case Qt::Key_Ccedilla:
        return VK_OEM_1;
    case Qt::Key_Dead_Acute:
    case Qt::Key_Dead_Grave:
    case Qt::Key_acute:
        return VK_OEM_4;
    case Qt::Key_Dead_Tilde:
    case Qt::Key_Dead_Circumflex:
        return VK_OEM_7;
    case Qt::Key_Dead_Diaeresis:
    case Qt::Key_diaeresis:
        return '6';
    default:
        return 0;
    }
}

std::uint16_t VirtualKeyOf(const QKeyEvent* event) {
    const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
#if defined(_WIN32)
    if (event->nativeVirtualKey() != 0)
        return static_cast<std::uint16_t>(event->nativeVirtualKey());
#elif !defined(__APPLE__)
    // X11 and Wayland: the physical key, whatever layout the system uses.
    if (const quint32 scan = event->nativeScanCode(); scan != 0) {
        const std::uint16_t code = VirtualKeyFromXKeycode(scanCodesAreEvdev() ? scan + 8 : scan);
        if (code != 0)
            return code;
    }
#endif
    return VirtualKeyFromQtKey(event->key(), keypad);
}
