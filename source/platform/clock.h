#pragma once

#include <ctime>

namespace platform {

// The current calendar time as broken-down local time.
std::tm localTime();

// A calendar time as broken-down local time.
std::tm localTimeAt(std::time_t instant);

}  // namespace platform
