#pragma once

#include <ctime>

namespace platform {

// The current calendar time as broken-down local time.
std::tm localTime();

// A calendar time as broken-down local time.
std::tm localTimeAt(std::time_t instant);

// Sleeps for at least a millisecond. Like a desktop system's default timer,
// the wake-up may come as late as the next 15.6 ms tick: an idle main loop
// then wakes about 64 times a second instead of a thousand.
void sleepOneMillisecond();

}  // namespace platform
