#include "core/platform/tickCounter.h"

#include <chrono>
#include <ctime>

namespace {
std::function<std::uint32_t()> g_ticks;
std::function<double()> g_clock;
} // namespace

std::uint32_t TickCount() {
    if (g_ticks)
        return g_ticks();
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SetTickSource(std::function<std::uint32_t()> source) {
    g_ticks = std::move(source);
}

double TimeOfDayNow() {
    if (g_clock)
        return g_clock();
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::tm local = LocalTime(system_clock::to_time_t(now));
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + ms / 1000.0;
    return seconds / 86400.0;
}

void SetClockSource(std::function<double()> source) {
    g_clock = std::move(source);
}

std::tm LocalTime(std::time_t moment) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &moment);
#else
    localtime_r(&moment, &local);
#endif
    return local;
}
