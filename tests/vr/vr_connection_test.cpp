// Start-up failures against the simulated runtime, the system event pump,
// and the battery readings it marks for reading again.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>

#include "config/settings.h"
#include "gl/render_target.h"
#include "support/simulated_session.h"
#include "vr/device_batteries.h"
#include "vr/vr_connection.h"

namespace {

using ::testing::ExitedWithCode;

const std::string key = "app.quillmere.horlox", manifest = R"({"applications": [{"app_key": ")" + key + R"("}]})";

// Each test runs in a working directory of its own, as the program does.
class VrConnectionTest : public ::testing::Test {
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

TEST_F(VrConnectionTest, EveryFailedStepEndsTheProgramNamingIt) {
    EXPECT_EXIT(startVr(nullptr, settings, {}, {}), ExitedWithCode(1),
                "^Failed to Init OpenVR: VRInitError_Init_InstallationNotFound\n$");
    EXPECT_EXIT(startVr(createSimulatedRuntime({session.path("state"), session.path("absent"), "", {}}), settings,
                        {}, {}),
                ExitedWithCode(1), "Failed to Init OpenVR: VRInitError_Init_FileNotFound\n$");
    const std::string manifestFailed = "Failed to set Application manifest: VRApplicationError_";
    const std::pair<std::string, std::string> manifests[] = {
        {"", manifestFailed + "InvalidManifest"},  // none at all
        {R"({"applications": [{"app_key": "app.someone.else"}]})",
         "Failed to set Application auto-launch: VRApplicationError_UnknownApplication"}};
    for (const auto& [text, message] : manifests) {
        if (!text.empty()) writeFile("app.manifest", text);
        EXPECT_EXIT(startVr(session.makeRuntime(), settings, {}, {}), ExitedWithCode(1), "^" + message + "\n$");
    }
    writeFile("app.manifest", manifest);
    for (const char* overlay : {"watch", "menu"}) {
        std::unique_ptr<VrRuntime> taken = session.startedRuntime();
        VROverlayHandle_t handle = 0, thumbnail = 0;
        if (overlay[0] == 'w') taken->CreateOverlay((key + ".watch").c_str(), "Elsewhere", &handle);
        else taken->CreateDashboardOverlay((key + ".menu").c_str(), "Elsewhere", &handle, &thumbnail);
        EXPECT_EXIT(startVr(std::move(taken), settings, {}, {}), ExitedWithCode(1),
                    std::string("^Failed to create ") + overlay + " overlay.\n$");
    }
    EXPECT_EXIT(
        {
            std::filesystem::remove_all(session.path("work"));  // we are still in it
            startVr(session.makeRuntime(), settings, {}, {});
        },
        ExitedWithCode(1), "^Failed to find the working directory for the application manifest.\n$");
}

// The index before and after each pass; one that nothing looks up stays.
TEST_F(VrConnectionTest, ThePumpFollowsTheWatchControllerAndStopsAtQuit) {
    const SimulatedSession events("1 controller 3 on left\n2 controller 4 on right\n3 controller 4 off\n"
                                  "4 controller 3 role right\n5 controller 3 role left\n6 controller 3 off\n"
                                  "7 controller 3 on left\n7 quit\n7 controller 4 on right\n");
    VrContext vr;
    vr.runtime = events.startedRuntime();
    vr.watchRole = TrackedControllerRole_LeftHand;
    const TrackedDeviceIndex_t none = k_unTrackedDeviceIndexInvalid;
    const std::pair<TrackedDeviceIndex_t, TrackedDeviceIndex_t> passes[] = {
        {none, 3}, {none, 3}, {9, 9}, {3, none}, {none, 3}, {3, none}, {none, 3}};
    for (std::size_t pass = 0; pass < std::size(passes); ++pass) {
        vr.watchDeviceIndex = passes[pass].first;
        EXPECT_EQ(pumpSystemEvents(vr), pass == 6) << "pass " << pass + 1;
        EXPECT_EQ(vr.watchDeviceIndex, passes[pass].second) << "pass " << pass + 1;
    }
    VREvent_t leftOver;
    ASSERT_TRUE(vr.runtime->PollNextEvent(&leftOver, sizeof leftOver)) << "quit left it unpolled";
    EXPECT_EQ(leftOver.trackedDeviceIndex, 4u);
}

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
