#include "platform/clock.h"

namespace platform {

std::tm localTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

void sleepOneMillisecond() {
    timespec duration{0, 1000000};
    nanosleep(&duration, nullptr);
}

}  // namespace platform
