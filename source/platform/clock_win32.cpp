#include "platform/clock.h"

#include <windows.h>

namespace platform {

std::tm localTime() { return localTimeAt(std::time(nullptr)); }

std::tm localTimeAt(std::time_t instant) {
    std::tm local{};
    localtime_s(&local, &instant);
    return local;
}

// The system timer's default period already is the 15.6 ms tick; the program
// leaves it as it is, so the wake-up lands on the next tick.
void sleepOneMillisecond() { Sleep(1); }

}  // namespace platform
