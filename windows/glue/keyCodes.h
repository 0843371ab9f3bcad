#pragma once
#include <cstdint>

class QKeyEvent;

// The Windows virtual-key code of the physical key behind a key event: on Windows the native code,
// elsewhere from the scan code where the platform has one, so that a key means the same whatever
// the system's layout; from the toolkit's key as a last resort. 0 when the key has no code.
std::uint16_t VirtualKeyOf(const QKeyEvent* event);

// Whether Caps Lock was on with a key event, from the system's own modifier state (Windows: the
// toolkit's Caps Lock bit; X11 and Wayland: the Lock modifier). False where the platform gives none.
bool CapsLockOf(const QKeyEvent* event);
