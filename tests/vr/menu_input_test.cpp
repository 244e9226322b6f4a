// The laser mouse's events as ImGui input.
#include <gtest/gtest.h>

#include <imgui.h>

#include "vr/menu_input.h"

namespace {

VREvent_t mouseEvent(EVREventType type, float x, float y, std::uint32_t button = 0) {
    VREvent_t event{};
    event.eventType = type;
    event.data.mouse = {x, y, button};
    return event;
}

VREvent_t scrollEvent(EVREventType type, float xdelta, float ydelta) {
    VREvent_t event{};
    event.eventType = type;
    event.data.scroll = {xdelta, ydelta, 0, 1.0f};
    return event;
}

class VrMenuInputTest : public ::testing::Test {
protected:
    void SetUp() override { io.DisplaySize = ImVec2(1280, 1280); }
    ImGuiIO io;
};

// OpenVR counts from the overlay's bottom-left corner, ImGui from its top-left.
TEST_F(VrMenuInputTest, PositionsAreFractionsFromTheBottomLeftAndBecomePixelsFromTheTop) {
    feedMenuEvent(io, mouseEvent(VREvent_MouseMove, 0.5f, 0.25f));
    EXPECT_EQ(io.MousePos.x, 640);
    EXPECT_EQ(io.MousePos.y, 960);
    feedMenuEvent(io, mouseEvent(VREvent_MouseMove, 1, 1));
    EXPECT_EQ(io.MousePos.x, 1280);
    EXPECT_EQ(io.MousePos.y, 0);
    // A press says where it happened too, but only moves move.
    feedMenuEvent(io, mouseEvent(VREvent_MouseButtonDown, 0.1f, 0.1f, VRMouseButton_Left));
    EXPECT_EQ(io.MousePos.x, 1280);
}

TEST_F(VrMenuInputTest, ButtonsMapToImGuisAndAnUnknownOneActsAsTheLeft) {
    feedMenuEvent(io, mouseEvent(VREvent_MouseButtonDown, 0, 0, VRMouseButton_Middle));
    feedMenuEvent(io, mouseEvent(VREvent_MouseButtonDown, 0, 0, 8));
    EXPECT_TRUE(io.MouseDown[0]);
    EXPECT_FALSE(io.MouseDown[1]);
    EXPECT_TRUE(io.MouseDown[2]);
    feedMenuEvent(io, mouseEvent(VREvent_MouseButtonUp, 0, 0, VRMouseButton_Left));
    EXPECT_FALSE(io.MouseDown[0]);
    feedMenuEvent(io, mouseEvent(VREvent_MouseButtonDown, 0, 0, VRMouseButton_Right));
    EXPECT_TRUE(io.MouseDown[1]);
    feedMenuEvent(io, mouseEvent(VREvent_MouseButtonUp, 0, 0, VRMouseButton_Middle));
    EXPECT_FALSE(io.MouseDown[2]);
}

TEST_F(VrMenuInputTest, SmoothAndDiscreteScrollsAddUpAlike) {
    feedMenuEvent(io, scrollEvent(VREvent_ScrollDiscrete, 0.5f, -1));
    EXPECT_EQ(io.MouseWheelH, 0.5f);
    EXPECT_EQ(io.MouseWheel, -1);
    feedMenuEvent(io, scrollEvent(VREvent_ScrollSmooth, 0.5f, -1));
    EXPECT_EQ(io.MouseWheelH, 1);
    EXPECT_EQ(io.MouseWheel, -2);
}

}  // namespace
