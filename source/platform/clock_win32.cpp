#include "platform/clock.h"

#include <windows.h>

namespace platform {

std::tm localTime() { return localTimeAt(std::time(nullptr)); }

std::tm localTimeAt(std::time_t instant) {
    std::tm local{};
    localtime_s(&local, &instant);
    return local;
}

}  // namespace platform
