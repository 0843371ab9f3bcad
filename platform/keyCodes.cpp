#include "platform/keyCodes.h"

#include <QKeyEvent>

std::uint16_t VirtualKeyFromQtKey(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::uint16_t>(key); // same codes as Windows: 65 to 90
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<std::uint16_t>(key); // 48 to 57
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<std::uint16_t>(112 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    default:
        return 0;
    }
}

std::uint16_t VirtualKeyOf(const QKeyEvent* event) {
#ifdef _WIN32
    if (event->nativeVirtualKey() != 0)
        return static_cast<std::uint16_t>(event->nativeVirtualKey());
#endif
    return VirtualKeyFromQtKey(event->key());
}
