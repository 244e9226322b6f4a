// How long the main loop waits: for the nearest thing due, and never long
// while something moves or the menu is in use.
#include <gtest/gtest.h>
#include <tuple>

#include "app/wait_rule.h"

namespace {

using namespace std::chrono_literals;

TEST(WaitRuleTest, TheLoopWaitsForTheNearestThingDue) {
    const LoopClock::time_point now{};
    const auto in = [now](LoopClock::duration after) { return std::optional<LoopClock::time_point>(now + after); };
    LoopState offline;
    offline.offline = true;
    LoopState vr;
    const auto with = [](LoopState state, auto change) {
        change(state);
        return state;
    };
    const std::tuple<const char*, LoopState, LoopClock::duration> cases[] = {
        {"offline: the next second", with(offline, [&](LoopState& s) { s.nextSecond = in(730ms); }), 730ms},
        {"offline: a toast's end comes first",
         with(offline, [&](LoopState& s) { s.nextSecond = in(730ms), s.nextToastChange = in(200ms); }), 200ms},
        {"offline: a fading toast steps", with(offline, [&](LoopState& s) { s.toastFading = true, s.nextSecond = in(900ms); }),
         movingStep},
        {"a second already due", with(offline, [&](LoopState& s) { s.nextSecond = in(-5ms); }), 0ms},
        {"VR: the runtime is polled", with(vr, [&](LoopState& s) { s.nextSecond = in(900ms); }), runtimePollPeriod},
        {"VR: a battery reading first", with(vr, [&](LoopState& s) { s.nextBatteryReading = in(40ms); }), 40ms},
        {"VR: waiting for a glance", with(vr, [&](LoopState& s) { s.watchingForGlance = true; }), glancePollPeriod},
        {"VR: a glance fading", with(vr, [&](LoopState& s) { s.watchingForGlance = s.glanceFading = true; }), movingStep},
        {"VR: an open menu untouched", with(vr, [&](LoopState& s) { s.menuShown = true; }), runtimePollPeriod},
        {"VR: an open menu just used",
         with(vr, [&](LoopState& s) { s.menuShown = true, s.lastMenuInput = in(-100ms); }), movingStep},
        {"VR: an open menu used a while ago",
         with(vr, [&](LoopState& s) { s.menuShown = true, s.lastMenuInput = in(-2s); }), runtimePollPeriod},
        {"VR: input on a closed menu is old news",
         with(vr, [&](LoopState& s) { s.lastMenuInput = in(-100ms); }), runtimePollPeriod},
        {"OpenXR paces the loop itself",
         with(vr, [&](LoopState& s) { s.runtimePaces = true, s.nextSecond = in(500ms); }), 0ms},
    };
    for (const auto& [what, state, wait] : cases) EXPECT_EQ(loopWait(state, now), wait) << what;
    EXPECT_EQ(loopWait(offline, now), LoopClock::duration::max()) << "offline with nothing due: the window wakes it";
}

}  // namespace
