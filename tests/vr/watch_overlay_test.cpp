// The watch overlay's share of a pass, against the simulated runtime, and
// its placement on either wrist.
#include <gtest/gtest.h>
#include <cmath>

#include "config/settings.h"
#include "support/debug_output_capture.h"
#include "support/simulated_session.h"
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

// The chosen hand's controller wears it; it shows only while that controller
// is known and the user wants it.
TEST_F(VrWatchOverlayTest, TheChosenHandsControllerIsLookedUpAndShowsTheWatchWhenWanted) {
    VREvent_t event;
    while (vr.runtime->PollNextEvent(&event, sizeof event)) {
    }
    for (bool right : {false, true}) {
        settings.watchOnRightHand = right;
        resolveWatchDevice(vr, settings);
        EXPECT_EQ(vr.watchRole, right ? TrackedControllerRole_RightHand : TrackedControllerRole_LeftHand);
        EXPECT_EQ(vr.watchDeviceIndex, right ? 6u : 3u);
    }
    for (const auto& [device, enabled] : {std::pair{6u, true}, {6u, false}, {k_unTrackedDeviceIndexInvalid, true}}) {
        vr.runtime->ShowOverlay(vr.watchOverlay);
        vr.watchDeviceIndex = device;
        settings.watchEnabled = enabled;
        showOrHideWatch(vr, settings);
        EXPECT_EQ(vr.runtime->IsOverlayVisible(vr.watchOverlay), device == 6 && enabled) << device << enabled;
    }
}

TEST_F(VrWatchOverlayTest, PlacementFollowsTheHandAndARefusalIsReported) {
    DebugOutputCapture output;
    vr.watchDeviceIndex = 6;
    settings.watchOnRightHand = true;
    placeWatch(vr, settings);
    EXPECT_EQ(output.text(), "");
    const std::vector<RecordedCall> placed =
        matching(session.calls(), "SetOverlayTransformTrackedDeviceRelative", {"1", "6"});
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_NEAR(matrixOf(placed[0].arguments[2]).m[1][0], watchPlacement(true).m[1][0], 1e-6);
    EXPECT_NEAR(matrixOf(placed[0].arguments[2]).m[0][3], watchPlacement(true).m[0][3], 1e-6);
    vr.watchDeviceIndex = k_unTrackedDeviceIndexInvalid;
    placeWatch(vr, settings);
    EXPECT_EQ(output.text(), "Error setting overlay tracked device relative!");
}

// The right hand tilts by 120 degrees and sits outwards; the left tilts by 135
// and is mirrored. The user's fit tilts both dials the same way about the
// controller's x axis and moves both back along it.
TEST(VrWatchPlacementTest, EachHandHasItsTiltAndSideAndTheFitMovesBothAlike) {
    const float right[3][4] = {{0, 0, 1, 0.025f}, {0.8660254f, -0.5f, 0, 0.07f}, {0.5f, 0.8660254f, 0, 0.18f}};
    const float left[3][4] = {{0, 0, -1, -0.025f}, {-0.7071068f, -0.7071068f, 0, 0.07f},
                              {-0.7071068f, 0.7071068f, 0, 0.18f}};
    for (bool rightHand : {true, false}) {
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 4; ++column)
                EXPECT_NEAR(watchPlacement(rightHand).m[row][column], (rightHand ? right : left)[row][column], 1e-6)
                    << rightHand << " row " << row << ", column " << column;
        const HmdMatrix34_t fitted = watchPlacement(rightHand, {6, 5, 30});
        const double tilt = (rightHand ? 150 : 165) * M_PI / 180;
        EXPECT_NEAR(fitted.m[1][0], (rightHand ? 1 : -1) * std::sin(tilt), 1e-6) << rightHand;
        EXPECT_NEAR(fitted.m[1][1], std::cos(tilt), 1e-6) << rightHand;
        EXPECT_NEAR(fitted.m[0][3], right[0][3] * (rightHand ? 1 : -1), 1e-6) << rightHand;
        EXPECT_NEAR(fitted.m[2][3], 0.23, 1e-6) << rightHand;
    }
}

}  // namespace
