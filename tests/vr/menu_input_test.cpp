// The laser mouse's events as ImGui input.
#include <gtest/gtest.h>
#include <imgui.h>

#include "vr/menu_input.h"

namespace {

VREvent_t event(EVREventType type, float x, float y, std::uint32_t button = 0) {
    VREvent_t event{};
    event.eventType = type;
    if (type == VREvent_ScrollDiscrete || type == VREvent_ScrollSmooth)
        event.data.scroll = {x, y, 0, 1.0f};
    else
        event.data.mouse = {x, y, button};
    return event;
}

// OpenVR counts from the overlay's bottom-left corner, ImGui from its top-left.
TEST(VrMenuInputTest, PositionsAreFractionsFromTheBottomLeftAndOnlyMovesMove) {
    ImGuiIO io;
    io.DisplaySize = ImVec2(1280, 640);
    feedMenuEvent(io, event(VREvent_MouseMove, 0.5f, 0.25f));
    EXPECT_EQ(io.MousePos.x, 640);
    EXPECT_EQ(io.MousePos.y, 480) << "from the bottom";
    feedMenuEvent(io, event(VREvent_MouseButtonDown, 0.1f, 0.1f, VRMouseButton_Left));
    EXPECT_EQ(io.MousePos.x, 640);
}

TEST(VrMenuInputTest, ButtonsMapToImGuisAndAnUnknownOneActsAsTheLeft) {
    const std::pair<std::uint32_t, int> buttons[] = {
        {VRMouseButton_Left, 0}, {VRMouseButton_Right, 1}, {VRMouseButton_Middle, 2}, {8, 0}};
    for (const auto& [button, pressed] : buttons) {
        ImGuiIO io;
        feedMenuEvent(io, event(VREvent_MouseButtonDown, 0, 0, button));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(io.MouseDown[i], i == pressed) << button << " " << i;
        feedMenuEvent(io, event(VREvent_MouseButtonUp, 0, 0, button));
        EXPECT_FALSE(io.MouseDown[pressed]) << button;
    }
}

TEST(VrMenuInputTest, SmoothAndDiscreteScrollsAddUpAlike) {
    ImGuiIO io;
    feedMenuEvent(io, event(VREvent_ScrollDiscrete, 0.5f, -1));
    feedMenuEvent(io, event(VREvent_ScrollSmooth, 0.25f, -2));
    EXPECT_EQ(io.MouseWheelH, 0.75f);
    EXPECT_EQ(io.MouseWheel, -3);
}

}  // namespace
