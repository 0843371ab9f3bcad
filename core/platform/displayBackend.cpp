#include "core/platform/displayBackend.h"

#include <cstdlib>
#include <cstring>

namespace {
bool set(const char* value) {
    return value && *value;
}
} // namespace

bool WaylandSessionFor(const char* waylandDisplay, const char* sessionType) {
    return set(waylandDisplay) || (set(sessionType) && std::strcmp(sessionType, "wayland") == 0);
}

std::string DisplayBackendFor(const char* qpaPlatform, const char* waylandDisplay, const char* sessionType,
                              const char* x11Display) {
    if (set(qpaPlatform))
        return {};
    if (WaylandSessionFor(waylandDisplay, sessionType) && set(x11Display))
        return "xcb";
    return {};
}

std::string ChooseDisplayBackend() {
#ifdef _WIN32
    return {};
#else
    std::string chosen = DisplayBackendFor(std::getenv("QT_QPA_PLATFORM"), std::getenv("WAYLAND_DISPLAY"),
                                           std::getenv("XDG_SESSION_TYPE"), std::getenv("DISPLAY"));
    if (!chosen.empty())
        setenv("QT_QPA_PLATFORM", chosen.c_str(), 1);
    return chosen;
#endif
}

bool InWaylandSession() {
#ifdef _WIN32
    return false;
#else
    return WaylandSessionFor(std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_SESSION_TYPE"));
#endif
}
