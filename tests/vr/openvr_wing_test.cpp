// The OpenVR wing over the simulated runtime: a failed registration named as
// OpenVR names it, and the batteries the program reads through it; its
// events are the program sessions'.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>

#include "config/settings.h"
#include "gl/render_target.h"
#include "support/simulated_session.h"
#include "vr/battery_readings.h"
#include "vr/vr_connection.h"

namespace {

using ::testing::ExitedWithCode;

// Each test runs in a working directory of its own, as the program does.
class OpenVrStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        std::filesystem::create_directories(session.path("work"));
        std::filesystem::current_path(session.path("work"));
    }
    void TearDown() override { std::filesystem::current_path(previousDirectory); }

    const std::filesystem::path previousDirectory = std::filesystem::current_path();
    SimulatedSession session;
    Settings settings;
};

// Init's failures are named in the OpenXR suite's start without a runtime.
TEST_F(OpenVrStartTest, AFailedRegistrationEndsTheProgramNamingIt) {
    const std::pair<std::string, std::string> manifests[] = {
        {"", "Failed to set Application manifest: VRApplicationError_InvalidManifest"},  // none at all
        {R"({"applications": [{"app_key": "app.someone.else"}]})",
         "Failed to set Application auto-launch: VRApplicationError_UnknownApplication"}};
    for (const auto& [text, message] : manifests) {
        if (!text.empty()) writeFile("app.manifest", text);
        EXPECT_EXIT(startVr(*session.makeRuntime(), settings, {}, {}), ExitedWithCode(1), "^" + message + "\n$");
    }
}

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
    const auto reads = [&] {
        const std::vector<RecordedCall> calls = session.calls();
        return std::count_if(calls.begin(), calls.end(), [](const RecordedCall& call) {
            return call.name.find("TrackedDeviceProperty") != std::string::npos;
        });
    };
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
