#pragma once

#include <ctime>

namespace platform {

// The current calendar time as broken-down local time.
std::tm localTime();

// Gives the rest of the machine the core for about a millisecond.
void sleepOneMillisecond();

}  // namespace platform
