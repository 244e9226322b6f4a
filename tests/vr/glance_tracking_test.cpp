// The glance's share of a pass against the simulated runtime's poses.
#include <gtest/gtest.h>

#include "config/settings.h"
#include "support/simulated_session.h"
#include "vr/glance_tracking.h"
#include "vr/vr_connection.h"

namespace {

TEST(GlanceTrackingTest, AWatchComingIntoViewIsDrawnAnewAndAnImpossibleDeviceIsNotAsked) {
    SimulatedSession session("1 controller 1 on left\n1 controller 1 at 0.18 1.075 -0.32 yaw -90 roll -90\n");
    VrContext vr;
    vr.runtime = session.startedRuntime();
    pumpSystemEvents(vr);
    Settings settings;
    settings.watchVisibility = WatchVisibility::WhenLookedAt;
    vr.watchDeviceIndex = 1;
    EXPECT_TRUE(lookForGlance(vr, settings));
    EXPECT_TRUE(glanceShowsWatch(vr.glance));
    EXPECT_TRUE(settings.needsRedraw) << "its last image may be a minute old";

    settings.needsRedraw = false;
    vr.watchDeviceIndex = k_unMaxTrackedDeviceCount;
    EXPECT_TRUE(lookForGlance(vr, settings)) << "the glance rests hidden";
    EXPECT_FALSE(glanceShowsWatch(vr.glance));
    EXPECT_FALSE(settings.needsRedraw);
}

}  // namespace
