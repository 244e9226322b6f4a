#include "platform/clock.h"

#include <sys/prctl.h>

namespace platform {
namespace {

// The default timer period of the desktop systems the loop was tuned on.
constexpr unsigned long timerSlackNanoseconds = 15625000;

}  // namespace

std::tm localTime() { return localTimeAt(std::time(nullptr)); }

std::tm localTimeAt(std::time_t instant) {
    std::tm local{};
    localtime_r(&instant, &local);
    return local;
}

void sleepOneMillisecond() {
    // The slack belongs to the calling thread; setting it again is harmless.
    static const bool slackSet = prctl(PR_SET_TIMERSLACK, timerSlackNanoseconds) == 0;
    (void)slackSet;
    timespec duration{0, 1000000};
    nanosleep(&duration, nullptr);
}

}  // namespace platform
