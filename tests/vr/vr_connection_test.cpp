// Start-up against the simulated runtime, and the system event pump.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "config/settings.h"
#include "gl/render_target.h"
#include "support/gl_test_context.h"
#include "vr/simulated_session.h"
#include "vr/vr_connection.h"

namespace {

using ::testing::ExitedWithCode;

constexpr char manifest[] = R"({"applications": [{"app_key": "app.quillmere.horlox"}]})";

// Each test runs in a working directory of its own, as the program does.
class VrConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        previousDirectory = std::filesystem::current_path();
        std::filesystem::create_directories(workingDirectory());
        std::filesystem::current_path(workingDirectory());
    }
    void TearDown() override { std::filesystem::current_path(previousDirectory); }

    std::string workingDirectory() const { return session.path("work"); }

    SimulatedSession session;
    Settings settings;
    std::filesystem::path previousDirectory;
};

// The call names of the start-up, in order.
std::vector<std::string> startUpCalls(const std::string& log) {
    std::vector<std::string> calls;
    for (const std::string& line : linesWith(log, "pass 0: "))
        calls.push_back(line.substr(8, line.find('(') - 8));
    return calls;
}

TEST_F(VrConnectionTest, FirstStartRegistersByAbsolutePathAndASecondTouchesNothing) {
    ensureGlContext();
    writeFile(workingDirectory() + "/app.manifest", manifest);
    const RenderTarget watchTarget = createRenderTarget(256, 256);
    const RenderTarget menuTarget = createRenderTarget(1280, 1280);

    startVr(session.makeRuntime("first"), settings, watchTarget, menuTarget);
    const std::string first = session.callLog("first");
    const std::string absolutePath = workingDirectory() + "/app.manifest";
    EXPECT_NE(first.find("IsApplicationInstalled(\"app.quillmere.horlox\") -> false"),
              std::string::npos);
    EXPECT_NE(first.find("AddApplicationManifest(\"" + absolutePath + "\", false) -> "
                         "VRApplicationError_None"),
              std::string::npos)
        << first;
    EXPECT_NE(first.find("SetApplicationAutoLaunch(\"app.quillmere.horlox\", true) -> "
                         "VRApplicationError_None"),
              std::string::npos);

    startVr(session.makeRuntime("second"), settings, watchTarget, menuTarget);
    const std::string second = session.callLog("second");
    EXPECT_NE(second.find("IsApplicationInstalled(\"app.quillmere.horlox\") -> true"),
              std::string::npos);
    EXPECT_NE(second.find("GetApplicationAutoLaunch(\"app.quillmere.horlox\") -> true"),
              std::string::npos);
    EXPECT_TRUE(linesWith(second, "AddApplicationManifest").empty()) << second;
    EXPECT_TRUE(linesWith(second, "SetApplicationAutoLaunch").empty()) << second;
}

TEST_F(VrConnectionTest, StartUpCallsComeInTheirOrderAndFillTheContext) {
    ensureGlContext();
    writeFile(workingDirectory() + "/app.manifest", manifest);
    const std::uint8_t blue[] = {0, 0, 255, 255};
    writeFile(workingDirectory() + "/dashboard_overlay.png", pngOfColour(8, 8, 4, blue));
    const RenderTarget watchTarget = createRenderTarget(256, 256);
    const RenderTarget menuTarget = createRenderTarget(1280, 1280);
    settings.watchOnRightHand = true;

    const VrContext vr = startVr(session.makeRuntime(), settings, watchTarget, menuTarget);
    const std::vector<std::string> expected = {
        "VR_Init", "IsApplicationInstalled", "AddApplicationManifest", "GetApplicationAutoLaunch",
        "SetApplicationAutoLaunch", "CreateOverlay", "SetOverlayWidthInMeters",
        "CreateDashboardOverlay", "SetOverlayWidthInMeters", "ShowOverlay",
        "SetOverlayTransformAbsolute", "GetTrackedDeviceIndexForControllerRole", "SetOverlayFlag",
        "SetOverlayInputMethod", "ShowOverlay", "SetOverlayTexture", "ShowOverlay"};
    const std::string log = session.callLog();
    EXPECT_EQ(startUpCalls(log), expected) << log;
    EXPECT_NE(log.find("SetOverlayWidthInMeters(1, 0.06)"), std::string::npos);
    EXPECT_NE(log.find("SetOverlayWidthInMeters(2, 2)"), std::string::npos);
    EXPECT_NE(log.find("SetOverlayTransformAbsolute(2, 1, [1 0 0 0; 0 1 0 1; 0 0 1 -2])"),
              std::string::npos);
    EXPECT_NE(log.find("SetOverlayFlag(2, 0x10000, true)"), std::string::npos);
    EXPECT_NE(log.find("SetOverlayInputMethod(2, 1)"), std::string::npos);
    EXPECT_NE(log.find("GetTrackedDeviceIndexForControllerRole(2)"), std::string::npos);

    EXPECT_EQ(vr.watchOverlay, 1u);
    EXPECT_EQ(vr.menuOverlay, 2u);
    EXPECT_EQ(vr.menuThumbnail, 3u);
    EXPECT_EQ(vr.watchTexture.handle,
              reinterpret_cast<void*>(std::uintptr_t{watchTarget.colorTexture}));
    EXPECT_EQ(vr.menuTexture.handle,
              reinterpret_cast<void*>(std::uintptr_t{menuTarget.colorTexture}));
    EXPECT_NE(vr.thumbnailTexture.handle, nullptr);
    EXPECT_EQ(vr.watchRole, TrackedControllerRole_RightHand);
    EXPECT_EQ(vr.watchDeviceIndex, k_unTrackedDeviceIndexInvalid);
    EXPECT_TRUE(vr.runtime->IsOverlayVisible(vr.watchOverlay));
}

TEST_F(VrConnectionTest, WithoutAUsableIconTheThumbnailGetsNoTexture) {
    ensureGlContext();
    writeFile(workingDirectory() + "/app.manifest", manifest);
    writeFile(workingDirectory() + "/dashboard_overlay.png", "not a picture");
    const RenderTarget target = createRenderTarget(256, 256);

    const VrContext vr = startVr(session.makeRuntime(), settings, target, target);
    EXPECT_EQ(vr.thumbnailTexture.handle, nullptr);
    const std::vector<std::string> calls = startUpCalls(session.callLog());
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "SetOverlayTexture"), 0);
    EXPECT_EQ(calls.back(), "ShowOverlay");
}

TEST_F(VrConnectionTest, NoInstalledRuntimeIsFatal) {
    EXPECT_EXIT(startVr(nullptr, settings, {}, {}), ExitedWithCode(1),
                "Failed to Init OpenVR: VRInitError_Init_InstallationNotFound\n");
}

TEST_F(VrConnectionTest, ARuntimeThatCannotStartIsFatalWithItsErrorSymbol) {
    EXPECT_EXIT(startVr(createSimulatedRuntime({session.path("state"), session.path("absent"), "", {}}),
                        settings, {}, {}),
                ExitedWithCode(1), "Failed to Init OpenVR: VRInitError_Init_FileNotFound\n");
}

TEST_F(VrConnectionTest, AMissingManifestIsFatalWithTheRuntimesErrorName) {
    EXPECT_EXIT(startVr(session.makeRuntime(), settings, {}, {}), ExitedWithCode(1),
                "Failed to set Application manifest: VRApplicationError_InvalidManifest\n");
}

TEST_F(VrConnectionTest, AManifestWithoutAnApplicationKeyIsFatal) {
    writeFile(workingDirectory() + "/app.manifest", R"({"applications": [{"launch_type": "binary"}]})");
    EXPECT_EXIT(startVr(session.makeRuntime(), settings, {}, {}), ExitedWithCode(1),
                "Failed to set Application manifest: VRApplicationError_InvalidApplication\n");
}

TEST_F(VrConnectionTest, AutoLaunchThatCannotBeSwitchedOnIsFatal) {
    // The manifest registers fine but under another key, so ours stays unknown.
    writeFile(workingDirectory() + "/app.manifest", R"({"applications": [{"app_key": "app.someone.else"}]})");
    EXPECT_EXIT(startVr(session.makeRuntime(), settings, {}, {}), ExitedWithCode(1),
                "Failed to set Application auto-launch: VRApplicationError_UnknownApplication\n");
}

TEST_F(VrConnectionTest, OverlaysThatCannotBeCreatedAreFatal) {
    writeFile(workingDirectory() + "/app.manifest", manifest);
    VROverlayHandle_t taken = 0, thumbnail = 0;
    std::unique_ptr<VrRuntime> watchTaken = session.startedRuntime();
    watchTaken->CreateOverlay("app.quillmere.horlox.watch", "Elsewhere", &taken);
    EXPECT_EXIT(startVr(std::move(watchTaken), settings, {}, {}), ExitedWithCode(1),
                "^Failed to create watch overlay.\n$");

    std::unique_ptr<VrRuntime> menuTaken = session.startedRuntime();
    menuTaken->CreateDashboardOverlay("app.quillmere.horlox.menu", "Elsewhere", &taken, &thumbnail);
    EXPECT_EXIT(startVr(std::move(menuTaken), settings, {}, {}), ExitedWithCode(1),
                "^Failed to create menu overlay.\n$");
}

TEST_F(VrConnectionTest, AWorkingDirectoryWithoutAPathIsFatal) {
    EXPECT_EXIT(
        {
            std::filesystem::remove_all(workingDirectory());  // we are still in it
            startVr(session.makeRuntime(), settings, {}, {});
        },
        ExitedWithCode(1), "Failed to find the working directory for the application manifest.\n");
}

TEST_F(VrConnectionTest, ThePumpFollowsTheWatchControllerAndStopsAtQuit) {
    SimulatedSession events(
        "1 controller 3 on left\n"
        "2 controller 4 on right\n"
        "3 controller 4 off\n"
        "4 controller 3 role right\n"
        "5 controller 3 role left\n"
        "6 controller 3 off\n"
        "7 controller 3 on left\n"
        "7 quit\n"
        "7 controller 4 on right\n");
    VrContext vr;
    vr.runtime = events.startedRuntime();
    vr.watchRole = TrackedControllerRole_LeftHand;

    EXPECT_FALSE(pumpSystemEvents(vr));
    EXPECT_EQ(vr.watchDeviceIndex, 3u) << "activation looks the device up";
    EXPECT_FALSE(pumpSystemEvents(vr));
    EXPECT_EQ(vr.watchDeviceIndex, 3u) << "another device's activation finds the same one";

    vr.watchDeviceIndex = 9;  // a stale index shows whether anything looked again
    EXPECT_FALSE(pumpSystemEvents(vr));
    EXPECT_EQ(vr.watchDeviceIndex, 9u) << "another device's deactivation changes nothing";
    vr.watchDeviceIndex = 3;

    EXPECT_FALSE(pumpSystemEvents(vr));
    EXPECT_EQ(vr.watchDeviceIndex, k_unTrackedDeviceIndexInvalid) << "the left hand is empty now";
    EXPECT_FALSE(pumpSystemEvents(vr));
    EXPECT_EQ(vr.watchDeviceIndex, 3u) << "role change looks the device up";
    EXPECT_FALSE(pumpSystemEvents(vr));
    EXPECT_EQ(vr.watchDeviceIndex, k_unTrackedDeviceIndexInvalid) << "its own controller went";

    EXPECT_TRUE(pumpSystemEvents(vr));
    EXPECT_EQ(vr.watchDeviceIndex, 3u);
    VREvent_t leftOver;
    ASSERT_TRUE(vr.runtime->PollNextEvent(&leftOver, sizeof leftOver)) << "quit left it unpolled";
    EXPECT_EQ(leftOver.eventType, VREvent_TrackedDeviceActivated);
    EXPECT_EQ(leftOver.trackedDeviceIndex, 4u);
}

}  // namespace
