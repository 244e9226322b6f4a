// The watch overlay's share of a pass, against the simulated runtime.
#include <gtest/gtest.h>

#include "config/settings.h"
#include "support/debug_output_capture.h"
#include "vr/simulated_session.h"
#include "vr/watch_overlay.h"
#include "vr/watch_placement.h"

namespace {

class VrWatchOverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        vr.runtime = session.startedRuntime();
        vr.runtime->CreateOverlay("app.quillmere.horlox.watch", "Horlox", &vr.watchOverlay);
    }

    SimulatedSession session{"1 controller 3 on left\n1 controller 6 on right\n"};
    VrContext vr;
    Settings settings;
};

TEST_F(VrWatchOverlayTest, TheChosenHandsControllerIsLookedUp) {
    pollPass(*vr.runtime);
    resolveWatchDevice(vr, settings);
    EXPECT_EQ(vr.watchRole, TrackedControllerRole_LeftHand);
    EXPECT_EQ(vr.watchDeviceIndex, 3u);
    settings.watchOnRightHand = true;
    resolveWatchDevice(vr, settings);
    EXPECT_EQ(vr.watchRole, TrackedControllerRole_RightHand);
    EXPECT_EQ(vr.watchDeviceIndex, 6u);
}

TEST_F(VrWatchOverlayTest, ShownOnlyWhileItsControllerIsKnownAndTheUserWantsIt) {
    vr.watchDeviceIndex = 3;
    showOrHideWatch(vr, settings);
    EXPECT_TRUE(vr.runtime->IsOverlayVisible(vr.watchOverlay));

    settings.watchEnabled = false;
    showOrHideWatch(vr, settings);
    EXPECT_FALSE(vr.runtime->IsOverlayVisible(vr.watchOverlay));

    settings.watchEnabled = true;
    showOrHideWatch(vr, settings);
    vr.watchDeviceIndex = k_unTrackedDeviceIndexInvalid;
    showOrHideWatch(vr, settings);
    EXPECT_FALSE(vr.runtime->IsOverlayVisible(vr.watchOverlay));
}

TEST_F(VrWatchOverlayTest, EventNamesGoToTheDebuggerOutputOneALine) {
    vr.runtime->ShowOverlay(vr.watchOverlay);
    vr.runtime->HideOverlay(vr.watchOverlay);
    DebugOutputCapture output;
    drainWatchEvents(vr);
    EXPECT_EQ(output.text(), "VREvent_OverlayShown\nVREvent_OverlayHidden\n");
    drainWatchEvents(vr);
    EXPECT_EQ(output.text(), "VREvent_OverlayShown\nVREvent_OverlayHidden\n");
}

TEST_F(VrWatchOverlayTest, PlacementFollowsTheHandAndARefusalIsReported) {
    DebugOutputCapture output;
    vr.watchDeviceIndex = 6;
    settings.watchOnRightHand = true;
    placeWatch(vr, settings);
    EXPECT_EQ(output.text(), "");

    const std::vector<std::string> placed =
        linesWith(session.callLog(), "SetOverlayTransformTrackedDeviceRelative(1, 6, ");
    ASSERT_EQ(placed.size(), 1u);
    HmdMatrix34_t logged;
    ASSERT_TRUE(readLoggedMatrix(placed[0], logged));
    EXPECT_NEAR(logged.m[1][0], 0.8660254, 1e-6);  // the right hand's 120° tilt
    EXPECT_NEAR(logged.m[0][3], 0.025, 1e-6);

    vr.watchDeviceIndex = k_unTrackedDeviceIndexInvalid;
    placeWatch(vr, settings);
    EXPECT_EQ(output.text(), "Error setting overlay tracked device relative!");
}

}  // namespace
