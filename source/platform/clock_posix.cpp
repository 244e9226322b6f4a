#include "platform/clock.h"

namespace platform {

std::tm localTime() { return localTimeAt(std::time(nullptr)); }

std::tm localTimeAt(std::time_t instant) {
    std::tm local{};
    localtime_r(&instant, &local);
    return local;
}

}  // namespace platform
