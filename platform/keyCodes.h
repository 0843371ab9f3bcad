#pragma once
#include <cstdint>

class QKeyEvent;

// The Windows virtual-key code of the physical key behind a key event: on Windows the native code,
// elsewhere from the scan code where the platform has one, so that a key means the same whatever
// the system's layout; from the toolkit's key as a last resort. 0 when the key has no code.
std::uint16_t VirtualKeyOf(const QKeyEvent* event);

// The physical-key table alone: an X keycode (evdev code + 8, as X11 and Wayland report it) to the
// code Windows gives the key at that place. US keys and the extra keys of the Brazilian ABNT2
// keyboard; 0 for keys without a fixed code (the numeric pad, whose code depends on Num Lock).
std::uint16_t VirtualKeyFromXKeycode(std::uint32_t xKeycode);

// The fallback alone, from a toolkit key (Qt::Key); keypad says the key came from the numeric pad.
std::uint16_t VirtualKeyFromQtKey(int qtKey, bool keypad = false);
