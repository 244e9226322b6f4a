#include "app/wait_rule.h"

#include <algorithm>

LoopClock::duration loopWait(const LoopState& state, LoopClock::time_point now) {
    if (state.runtimePaces) return LoopClock::duration::zero();
    if (state.menuShown && state.lastMenuInput && now - *state.lastMenuInput < menuInUseFor)
        return movingStep;

    // Offline only the clock, toasts and the window (which wakes us) matter.
    LoopClock::duration wait = state.offline ? LoopClock::duration::max() : runtimePollPeriod;
    const auto atMost = [&wait](LoopClock::duration limit) { wait = std::min(wait, limit); };
    const auto until = [&](const std::optional<LoopClock::time_point>& due) {
        if (due) atMost(std::max(LoopClock::duration::zero(), *due - now));
    };
    if (state.watchingForGlance) atMost(glancePollPeriod);
    if (state.glanceFading || state.toastFading) atMost(movingStep);
    until(state.nextToastChange);
    until(state.nextSecond);
    until(state.nextBatteryReading);
    return wait;
}
