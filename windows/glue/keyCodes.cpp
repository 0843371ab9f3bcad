#include "windows/glue/keyCodes.h"

#include "core/platform/keyboard.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace {
// Platforms that report the kernel's evdev code instead of the X keycode.
bool scanCodesAreEvdev() {
    const QString name = QGuiApplication::platformName();
    return name.startsWith(QLatin1String("eglfs")) || name == QLatin1String("linuxfb") ||
           name == QLatin1String("vkkhrdisplay");
}

// From the toolkit's key where the platform gives no place; keypad: the key came from the numeric pad.
std::uint16_t VirtualKeyFromQtKey(int key, bool keypad) {
    if (keypad) {
        // Num Lock on gives digits and the decimal point; off, the editing keys handled below.
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return static_cast<std::uint16_t>(Vk::Numpad0 + (key - Qt::Key_0));
        switch (key) {
        case Qt::Key_Asterisk:
            return Vk::Multiply;
        case Qt::Key_Plus:
            return Vk::Add;
        case Qt::Key_Minus:
            return Vk::Subtract;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return Vk::Decimal;
        case Qt::Key_Slash:
            return Vk::Divide;
        default:
            break;
        }
    }
    // Letters, digits and ASCII punctuation (either character of a key) at their American places.
    if (key > Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        if (const std::uint16_t code = CodeOfAmericanCharacter(static_cast<char>(key)))
            return code;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<std::uint16_t>(Vk::F1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return Vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Vk::Return;
    case Qt::Key_Shift:
        return Vk::Shift;
    case Qt::Key_Control:
        return Vk::Control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return Vk::Menu;
    case Qt::Key_CapsLock:
        return Vk::Capital;
    case Qt::Key_Escape:
        return Vk::Escape;
    case Qt::Key_Space:
        return Vk::Space;
    case Qt::Key_Home:
        return Vk::Home;
    case Qt::Key_End:
        return Vk::End;
    case Qt::Key_PageUp:
        return Vk::Prior;
    case Qt::Key_PageDown:
        return Vk::Next;
    case Qt::Key_Left:
        return Vk::Left;
    case Qt::Key_Up:
        return Vk::Up;
    case Qt::Key_Right:
        return Vk::Right;
    case Qt::Key_Down:
        return Vk::Down;
    case Qt::Key_Insert:
        return Vk::Insert;
    case Qt::Key_Delete:
        return Vk::Delete;
    // What only a Brazilian layout types, at its ABNT2 place.
    case Qt::Key_Ccedilla:
        return Vk::Oem1;
    case Qt::Key_Dead_Acute:
    case Qt::Key_Dead_Grave:
    case Qt::Key_acute:
        return Vk::Oem4;
    case Qt::Key_Dead_Tilde:
    case Qt::Key_Dead_Circumflex:
        return Vk::Oem7;
    case Qt::Key_Dead_Diaeresis:
    case Qt::Key_diaeresis:
        return '6';
    default:
        return 0;
    }
}

} // namespace

std::uint16_t VirtualKeyOf(const QKeyEvent* event) {
    const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
#if defined(_WIN32)
    if (event->nativeVirtualKey() != 0)
        return static_cast<std::uint16_t>(event->nativeVirtualKey());
#elif !defined(__APPLE__)
    // X11 and Wayland: the physical key, whatever layout the system uses.
    if (const quint32 scan = event->nativeScanCode(); scan != 0) {
        const std::uint16_t code = CodeOfXKeycode(scanCodesAreEvdev() ? scan + 8 : scan);
        if (code != 0)
            return code;
    }
#endif
    return VirtualKeyFromQtKey(event->key(), keypad);
}

bool CapsLockOf(const QKeyEvent* event) {
#if defined(_WIN32)
    constexpr quint32 kCapsLock = 0x100; // the toolkit's Windows key mapper's bit
#else
    constexpr quint32 kCapsLock = 0x2; // X11's LockMask, xkb's Lock on Wayland
#endif
    return (event->nativeModifiers() & kCapsLock) != 0;
}
