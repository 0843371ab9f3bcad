#pragma once
#include <cstdint>
#include <ctime>
#include <functional>

// A millisecond tick counter that wraps at 2^32, like the system's; tests put a fixed one in.
std::uint32_t TickCount();
void SetTickSource(std::function<std::uint32_t()> source); // empty: the system's

// The local time of day as a fraction of a day (1.0 = 24 hours); tests put a fixed clock in.
double TimeOfDayNow();
void SetClockSource(std::function<double()> source); // empty: the system's

// A moment as the local calendar and clock fields, on every system.
std::tm LocalTime(std::time_t moment);
