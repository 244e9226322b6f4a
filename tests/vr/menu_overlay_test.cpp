// The menu's share of a pass against the simulated runtime, whose scenario
// opens the dashboard and works the laser mouse.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include <imgui.h>

#include "config/settings.h"
#include "gl/render_target.h"
#include "support/debug_output_capture.h"
#include "support/gl_test_context.h"
#include "support/menu_gui_context.h"
#include "ui/menu_buttons.h"
#include "ui/menu_panel.h"
#include "vr/menu_overlay.h"
#include "vr/simulated_session.h"
#include "vr/vr_connection.h"
#include "watch/watch_catalogue.h"

namespace {

constexpr char manifest[] = R"({"applications": [{"app_key": "app.quillmere.horlox"}]})";

// Works in a directory of its own with two watches, Alpha and Beta, as the
// program does: the menu saves the settings there.
class VrMenuOverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGlContext();
        previousDirectory = std::filesystem::current_path();
        std::filesystem::create_directories(session.path("work"));
        std::filesystem::current_path(session.path("work"));
        writeFile(session.path("work/app.manifest"), manifest);
        writeFile(session.path("work/watches/Alpha/config"), ":watch\nname=Alpha\n");
        writeFile(session.path("work/watches/Beta/config"), ":watch\nname=Beta\n");
        catalogue = std::make_unique<WatchCatalogue>(settings, nullptr);
        gui = std::make_unique<MenuGuiContext>();
        watchTarget = createRenderTarget(256, 256);
        menuTarget = createRenderTarget(menuSize, menuSize);
    }
    void TearDown() override { std::filesystem::current_path(previousDirectory); }

    void start(const std::string& scenario) {
        writeFile(session.scenarioPath(), scenario);
        vr = startVr(session.makeRuntime(), settings, watchTarget, menuTarget);
    }

    // A main-loop pass up to the menu's share.
    void pass() {
        pumpSystemEvents(vr);
        updateMenuOverlay(vr, settings, *catalogue, menuTarget, watchTarget.colorTexture);
    }

    // The middle of a button as the menu draws it now, as fractions: "x y".
    std::string middleOf(const std::string& label) {
        drawMenuFrame(settings, *catalogue);
        const std::optional<ButtonPlace> button = findMenuButton(label);
        EXPECT_TRUE(button) << label;
        if (!button) return "";
        char text[64];
        std::snprintf(text, sizeof text, "%.9g %.9g", (button->left + button->right) / 2 / menuSize,
                      (button->top + button->bottom) / 2 / menuSize);
        return text;
    }

    // The logged calls of one pass that begin with the text.
    std::vector<std::string> callsIn(unsigned pass, const std::string& start) const {
        return linesWith(session.callLog(), "pass " + std::to_string(pass) + ": " + start);
    }

    bool watchShown() const { return vr.runtime->IsOverlayVisible(vr.watchOverlay); }

    SimulatedSession session;
    std::filesystem::path previousDirectory;
    Settings settings;
    std::unique_ptr<WatchCatalogue> catalogue;
    std::unique_ptr<MenuGuiContext> gui;
    RenderTarget watchTarget;
    RenderTarget menuTarget;
    VrContext vr;
};

TEST_F(VrMenuOverlayTest, WhileTheDashboardIsClosedNothingIsDrawnPolledOrShown) {
    start(
        "1 controller 1 on left\n"
        "1 mouse move 0.5 0.5\n"
        "3 dashboard open\n");
    settings.watchEnabled = false;
    pass();
    pass();
    const std::string log = session.callLog();
    EXPECT_TRUE(linesWith(log, "PollNextOverlayEvent(2)").empty()) << log;
    EXPECT_TRUE(linesWith(log, "GetOverlayTextureSize").empty());
    EXPECT_TRUE(linesWith(log, "SetOverlayTexture(2").empty());
    EXPECT_TRUE(watchShown()) << "kept as the start-up left it";

    pass();
    EXPECT_EQ(callsIn(3, "PollNextOverlayEvent(2) -> VREvent_MouseMove").size(), 1u);
    EXPECT_EQ(callsIn(3, "SetOverlayTexture(2, ").size(), 1u);
    EXPECT_EQ(callsIn(3, "HideOverlay(1)").size(), 1u);
    EXPECT_FALSE(watchShown());
}

TEST_F(VrMenuOverlayTest, TheMenuTakesTheSizeOfItsTextureOnceTheRuntimeHasOne) {
    start(
        "1 dashboard open\n"
        "1 mouse move 1 1\n"
        "2 mouse move 0.5 0.25\n");
    pass();
    EXPECT_EQ(callsIn(1, "GetOverlayTextureSize(2) -> VROverlayError_InvalidTexture").size(), 1u);
    EXPECT_EQ(ImGui::GetIO().MousePos.x, 1280);
    EXPECT_EQ(ImGui::GetIO().MousePos.y, 1280);
    pass();
    EXPECT_EQ(callsIn(2, "GetOverlayTextureSize(2) -> VROverlayError_None, 1280 x 1280").size(), 1u);
    EXPECT_EQ(ImGui::GetIO().MousePos.x, 640);
    EXPECT_EQ(ImGui::GetIO().MousePos.y, 320);
}

TEST_F(VrMenuOverlayTest, ATextureOfAnotherSizeScalesTheMouseByItsOwnSize) {
    menuTarget = createRenderTarget(640, 320);
    start(
        "1 dashboard open\n"
        "2 mouse move 0.5 0.25\n");
    pass();
    pass();
    EXPECT_EQ(ImGui::GetIO().DisplaySize.x, 640);
    EXPECT_EQ(ImGui::GetIO().DisplaySize.y, 320);
    EXPECT_EQ(ImGui::GetIO().MousePos.x, 320);
    EXPECT_EQ(ImGui::GetIO().MousePos.y, 80);
}

TEST_F(VrMenuOverlayTest, OnlyAPressAndAReleaseInDifferentPassesClick) {
    const std::string disable = middleOf("Disable");
    start("1 dashboard open\n"
          "2 mouse move " + disable + "\n"
          "2 mouse down left\n"
          "2 mouse up left\n"
          "3 mouse down left\n"
          "4 mouse up left\n");
    pass();
    pass();
    EXPECT_TRUE(settings.watchEnabled) << "pressed and released in one pass";
    pass();
    EXPECT_TRUE(settings.watchEnabled) << "still held";
    pass();
    EXPECT_FALSE(settings.watchEnabled);
}

TEST_F(VrMenuOverlayTest, DisableHidesTheWatchInItsPassAndNeitherButtonSaves) {
    start(
        "1 controller 1 on left\n"
        "1 dashboard open\n"
        "2 mouse click Disable\n"
        "5 mouse click Enable\n");
    pass();
    pass();
    EXPECT_EQ(callsIn(2, "PollNextOverlayEvent(2) -> VREvent_MouseMove").size(), 1u);
    EXPECT_EQ(callsIn(2, "PollNextOverlayEvent(2) -> VREvent_MouseButtonDown").size(), 1u);
    EXPECT_TRUE(settings.watchEnabled);

    pass();
    EXPECT_EQ(callsIn(3, "PollNextOverlayEvent(2) -> VREvent_MouseButtonUp").size(), 1u);
    EXPECT_FALSE(settings.watchEnabled);
    EXPECT_TRUE(settings.needsRedraw);
    EXPECT_EQ(callsIn(3, "HideOverlay(1)").size(), 1u);
    EXPECT_FALSE(watchShown());

    pass();
    pass();
    pass();
    EXPECT_TRUE(settings.watchEnabled);
    EXPECT_EQ(callsIn(6, "ShowOverlay(1)").size(), 1u);
    EXPECT_TRUE(watchShown());
    EXPECT_FALSE(std::filesystem::exists(settingsFileName));
}

TEST_F(VrMenuOverlayTest, AChangeOfHandFindsTheOtherControllerInItsPassAndIsSaved) {
    start(
        "1 controller 1 on left\n"
        "1 controller 2 on right\n"
        "1 dashboard open\n"
        "2 mouse click left hand\n");
    pass();
    EXPECT_EQ(vr.watchDeviceIndex, 1u);
    pass();
    pass();
    EXPECT_TRUE(settings.watchOnRightHand);
    EXPECT_EQ(vr.watchRole, TrackedControllerRole_RightHand);
    EXPECT_EQ(vr.watchDeviceIndex, 2u);
    EXPECT_EQ(callsIn(3, "GetTrackedDeviceIndexForControllerRole(2) -> 2").size(), 1u);
    EXPECT_EQ(readWholeFile(settingsFileName), "watchOnRightHand=true\ninitialWatchName=Alpha\n");
}

// The second aims at "Previous", which only the frame after the first shows.
TEST_F(VrMenuOverlayTest, ClicksDueTogetherTakeTurns) {
    start(
        "1 dashboard open\n"
        "2 mouse click Next\n"
        "2 mouse click Previous\n");
    for (int i = 0; i < 3; ++i) pass();
    EXPECT_EQ(settings.initialWatchName, "Beta");
    for (int i = 0; i < 3; ++i) pass();
    EXPECT_EQ(settings.initialWatchName, "Alpha");
    const std::string log = session.callLog();
    const std::vector<std::string> presses = linesWith(log, "VREvent_MouseButtonDown");
    const std::vector<std::string> releases = linesWith(log, "VREvent_MouseButtonUp");
    ASSERT_EQ(presses.size(), 2u);
    ASSERT_EQ(releases.size(), 2u);
    EXPECT_EQ(presses[0].rfind("pass 2: ", 0), 0u);
    EXPECT_EQ(releases[0].rfind("pass 3: ", 0), 0u);
    EXPECT_EQ(presses[1].rfind("pass 5: ", 0), 0u);
    EXPECT_EQ(releases[1].rfind("pass 6: ", 0), 0u);
}

TEST_F(VrMenuOverlayTest, AClickOnAButtonTheMenuDoesNotShowIsReported) {
    start(
        "1 dashboard open\n"
        "1 mouse click Next\n"
        "3 mouse click Previous\n");
    DebugOutputCapture output;
    for (int i = 0; i < 4; ++i) pass();
    EXPECT_EQ(output.text(),
              "Simulated VR runtime: the menu shows no button \"Next\" to click\n"
              "Simulated VR runtime: the menu shows no button \"Previous\" to click\n");
    EXPECT_TRUE(linesWith(session.callLog(), "VREvent_MouseButtonDown").empty());
    EXPECT_EQ(settings.initialWatchName, "Alpha");
}

}  // namespace
