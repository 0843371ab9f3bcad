#include "platform/displayBackend.h"

#include <gtest/gtest.h>

// Which back-end the program asks for, from QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE and
// DISPLAY (null: not set).
TEST(DisplayBackend, WaylandSessionsGoThroughXWaylandUnlessTheUserChose) {
    struct Row {
        const char* qpa;
        const char* wayland;
        const char* session;
        const char* x11;
        std::string expected;
    };
    const Row rows[] = {
        {nullptr, "wayland-0", "wayland", ":0", "xcb"}, // a Wayland desktop with XWayland
        {nullptr, "wayland-0", nullptr, ":1", "xcb"},   // a compositor started by hand
        {nullptr, nullptr, "wayland", ":0", "xcb"},     // the session says so
        {"", "wayland-0", nullptr, ":0", "xcb"},        // set but empty is not a choice
        {"wayland", "wayland-0", "wayland", ":0", ""},  // the user's choice stands
        {"offscreen", "wayland-0", nullptr, ":0", ""},
        {nullptr, "wayland-0", "wayland", nullptr, ""}, // no X server: the toolkit's choice
        {nullptr, nullptr, "x11", ":0", ""},            // X11 sessions need nothing
        {nullptr, nullptr, nullptr, nullptr, ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(DisplayBackendFor(r.qpa, r.wayland, r.session, r.x11), r.expected)
            << (r.qpa ? r.qpa : "-") << " " << (r.wayland ? r.wayland : "-") << " "
            << (r.session ? r.session : "-") << " " << (r.x11 ? r.x11 : "-");
}
