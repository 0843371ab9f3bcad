#pragma once
#include <string>

// The window system the program's windows go through, chosen before the toolkit starts.
//
// The windows are placed by position (centred dialogs, the keyboard at its place over the exercise
// window, balloons under their controls) and the keyboard stays on top: X11 allows all of that, a
// Wayland client none of it. In a Wayland session the program therefore runs through the
// compositor's X server (XWayland), where keys still arrive as X keycodes. A back-end the user chose
// (QT_QPA_PLATFORM) is always kept, and without an X server the toolkit's own choice stands.

// The back-end to ask for ("xcb"), or empty to leave the toolkit's choice; each argument is the
// variable's value, null when it is not set.
std::string DisplayBackendFor(const char* qpaPlatform, const char* waylandDisplay, const char* sessionType,
                              const char* x11Display);

// Applies that choice to this process's QT_QPA_PLATFORM; call before the application object is
// made. Returns the back-end asked for, or empty. Nothing happens on Windows.
std::string ChooseDisplayBackend();

// Whether the program runs in a Wayland session (WAYLAND_DISPLAY, or XDG_SESSION_TYPE=wayland),
// whichever back-end its windows go through. There even an X window is placed by the compositor:
// weston's X window manager takes a window asking for 0,0 as one asking for nothing and places it
// below its panel, and keeps a full-screen window above every other. Each argument is the
// variable's value, null when it is not set.
bool WaylandSessionFor(const char* waylandDisplay, const char* sessionType);

// The same for this process; false on Windows.
bool InWaylandSession();
