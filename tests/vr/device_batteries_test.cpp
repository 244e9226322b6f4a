// Battery readings from the simulated runtime, and when they are taken.
#include <gtest/gtest.h>
#include <algorithm>

#include "support/simulated_session.h"
#include "vr/device_batteries.h"
#include "vr/vr_connection.h"

namespace {

using std::chrono::seconds;
using Clock = std::chrono::steady_clock;

TEST(DeviceBatteriesTest, FollowControllersAcrossHandsAndReadAgainOnEventsOrAfterThirtySeconds) {
    SimulatedSession session(
        "1 controller 1 on left\n1 controller 2 on right\n1 controller 3 on none\n"
        "1 battery 1 0.8\n1 battery 2 0.15 charging\n1 battery 3 0.5\n"
        "2 controller 1 role right\n2 controller 2 role left\n"
        "3 controller 2 off\n3 controller 3 role left\n3 battery hmd 0.4 charging\n"
        "3 battery 1 none\n");
    VrContext vr;
    vr.runtime = session.startedRuntime();
    const Clock::time_point start;
    const BatteryStatus batteryless{true, false, 0, false};
    // The headset, then the left and the right hand, after each pass.
    const DeviceBatteries passes[] = {
        {batteryless, {true, true, 0.8f, false}, {true, true, 0.15f, true}},
        {batteryless, {true, true, 0.15f, true}, {true, true, 0.8f, false}},
        {{true, true, 0.4f, true}, {true, true, 0.5f, false}, batteryless},
    };
    for (const DeviceBatteries& shown : passes) {
        pumpSystemEvents(vr);
        EXPECT_TRUE(refreshBatteries(vr, start));
        EXPECT_EQ(vr.batteries, shown);
    }

    // Without events the batteries are read again only once 30 s have passed.
    const auto reads = [&] {
        const std::vector<RecordedCall> calls = session.calls();
        return std::count_if(calls.begin(), calls.end(), [](const RecordedCall& call) {
            return call.name.find("TrackedDeviceProperty") != std::string::npos;
        });
    };
    const auto before = reads();
    pumpSystemEvents(vr);
    EXPECT_FALSE(refreshBatteries(vr, start + seconds(29)));
    EXPECT_EQ(reads(), before);
    EXPECT_FALSE(refreshBatteries(vr, start + seconds(30)));
    EXPECT_GT(reads(), before);
}

}  // namespace
