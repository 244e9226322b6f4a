// The OpenVR wing over the simulated runtime: the batteries the program reads
// through it; its start and its events are the program sessions'.
#include <gtest/gtest.h>

#include "support/simulated_session.h"
#include "vr/battery_readings.h"

namespace {

using std::chrono::seconds;
using Clock = std::chrono::steady_clock;

TEST(OpenVrWingTest, BatteriesFollowControllersAcrossHandsAndAreReadAgainOnEventsOrAfterThirtySeconds) {
    const SimulatedSession session(
        "1 controller 1 on left\n1 controller 2 on right\n1 controller 3 on none\n"
        "1 battery 1 0.8\n1 battery 2 0.15 charging\n1 battery 3 0.5\n"
        "2 controller 1 role right\n2 controller 2 role left\n"
        "3 controller 2 off\n3 controller 3 role left\n3 battery hmd 0.4 charging\n"
        "3 battery 1 none\n");
    const std::unique_ptr<VrRuntime> runtime = session.installedRuntime();
    ASSERT_TRUE(runtime->start({}).failure.empty());
    BatteryReadings readings;
    const auto pass = [&] {
        RuntimeEvent event;
        while (runtime->nextEvent(event)) readings.markStale();
    };
    const Clock::time_point start;
    const BatteryStatus batteryless{true, false, 0, false};
    // The headset, then the left and the right hand, after each pass.
    const DeviceBatteries passes[] = {
        {batteryless, {true, true, 0.8f, false}, {true, true, 0.15f, true}},
        {batteryless, {true, true, 0.15f, true}, {true, true, 0.8f, false}},
        {{true, true, 0.4f, true}, {true, true, 0.5f, false}, batteryless},
    };
    for (const DeviceBatteries& shown : passes) {
        pass();
        EXPECT_TRUE(readings.refresh(*runtime, start));
        EXPECT_EQ(readings.batteries(), shown);
    }

    // Without events the batteries are read again only once 30 s have passed.
    // Every reading asks first whether the device has a battery.
    const auto reads = [&] { return matching(session.calls(), "GetBoolTrackedDeviceProperty").size(); };
    const auto before = reads();
    pass();
    EXPECT_FALSE(readings.refresh(*runtime, start + seconds(29)));
    EXPECT_EQ(reads(), before);
    EXPECT_FALSE(readings.refresh(*runtime, start + seconds(30)));
    EXPECT_GT(reads(), before);
    EXPECT_FALSE(runtime->locate(k_unMaxTrackedDeviceCount).controller) << "an impossible device is not asked";
    EXPECT_TRUE(matching(session.calls(), "GetDeviceToAbsoluteTrackingPose").empty());
}

}  // namespace
