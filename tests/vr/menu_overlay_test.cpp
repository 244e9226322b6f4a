// The menu's share of a pass against the simulated runtime, whose scenario
// opens the dashboard and works the laser mouse.
#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>
#include <memory>
#include <set>
#include <imgui.h>

#include "config/settings.h"
#include "gl/render_target.h"
#include "support/gl_test_context.h"
#include "support/menu_gui_context.h"
#include "support/simulated_session.h"
#include "ui/menu_panel.h"
#include "vr/menu_overlay.h"
#include "vr/vr_connection.h"
#include "watch/watch_catalogue.h"

namespace {

// Works in a directory of its own with two watches, Alpha and Beta, as the
// program does: the menu saves the settings there.
class VrMenuOverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGlContext();
        std::filesystem::create_directories(session.path("work"));
        std::filesystem::current_path(session.path("work"));
        writeFile("app.manifest", R"({"applications": [{"app_key": "app.quillmere.horlox"}]})");
        writeFile("watches/Alpha/config", ":watch\nname=Alpha\n");
        writeFile("watches/Beta/config", ":watch\nname=Beta\n");
        catalogue = std::make_unique<WatchCatalogue>(settings, nullptr);
        gui = std::make_unique<MenuGuiContext>();
        watchTarget = createRenderTarget(256, 256);
    }
    void TearDown() override { std::filesystem::current_path(previousDirectory); }

    // Starts with the scenario and a menu texture of that size, then runs
    // main-loop passes up to the menu's share.
    void start(const std::string& scenario, int passes, int width = menuSize, int height = menuSize) {
        writeFile(session.path("scenario"), scenario);
        menuTarget = createRenderTarget(width, height);
        vr = startVr(session.makeRuntime(), settings, watchTarget, menuTarget);
        run(passes);
    }
    void run(int passes) {
        for (int i = 0; i < passes; ++i) {
            pumpSystemEvents(vr);
            updateMenuOverlay(vr, settings, *catalogue, menuTarget, watchTarget.colorTexture);
        }
    }
    // How many calls of a pass are that call.
    std::size_t count(unsigned long pass, const std::string& name, const Words& arguments, const Words& result = {}) {
        return matching(inPass(session.calls(), pass), name, arguments, result).size();
    }
    bool watchShown() const { return vr.runtime->IsOverlayVisible(vr.watchOverlay); }

    const std::filesystem::path previousDirectory = std::filesystem::current_path();
    SimulatedSession session;
    Settings settings;
    std::unique_ptr<WatchCatalogue> catalogue;
    std::unique_ptr<MenuGuiContext> gui;
    RenderTarget watchTarget, menuTarget;
    VrContext vr;
};

TEST_F(VrMenuOverlayTest, WhileTheDashboardIsClosedNothingIsDrawnPolledOrShown) {
    settings.watchEnabled = false;
    start("1 controller 1 on left\n1 mouse move 0.5 0.5\n3 dashboard open\n", 2);
    for (const char* call : {"PollNextOverlayEvent", "GetOverlayTextureSize", "SetOverlayTexture"})
        EXPECT_TRUE(matching(session.calls(), call, {"2"}).empty()) << call;
    EXPECT_TRUE(watchShown()) << "kept as the start-up left it";
    run(1);
    EXPECT_EQ(count(3, "PollNextOverlayEvent", {"2"}, {"VREvent_MouseMove"}), 1u);
    EXPECT_EQ(count(3, "SetOverlayTexture", {"2"}), 1u);
    EXPECT_EQ(count(3, "HideOverlay", {"1"}), 1u);
    EXPECT_FALSE(watchShown());
}

// Before its first image the overlay has no size: the menu's own is used.
TEST_F(VrMenuOverlayTest, TheMouseIsScaledByTheSizeOfTheMenusTexture) {
    for (const auto& [width, height] : {std::pair{menuSize, menuSize}, std::pair{640, 320}}) {
        start("1 dashboard open\n1 mouse move 1 1\n2 mouse move 0.5 0.25\n", 1, width, height);
        EXPECT_EQ(count(1, "GetOverlayTextureSize", {"2"}, {"VROverlayError_InvalidTexture"}), 1u);
        EXPECT_EQ(std::make_pair(ImGui::GetIO().MousePos.x, ImGui::GetIO().MousePos.y),
                  std::make_pair(float(menuSize), float(menuSize)));
        run(1);
        EXPECT_EQ(std::make_pair(ImGui::GetIO().DisplaySize.x, ImGui::GetIO().DisplaySize.y),
                  std::make_pair(float(width), float(height)));
        EXPECT_EQ(std::make_pair(ImGui::GetIO().MousePos.x, ImGui::GetIO().MousePos.y),
                  std::make_pair(width / 2.0f, height / 4.0f));
    }
}

TEST_F(VrMenuOverlayTest, DisableHidesTheWatchInItsPassAndNeitherButtonSaves) {
    start("1 controller 1 on left\n1 dashboard open\n2 mouse click Disable\n5 mouse click Enable\n", 2);
    EXPECT_EQ(count(2, "PollNextOverlayEvent", {"2"}, {"VREvent_MouseButtonDown"}), 1u);
    EXPECT_TRUE(settings.watchEnabled);
    run(1);
    EXPECT_EQ(count(3, "PollNextOverlayEvent", {"2"}, {"VREvent_MouseButtonUp"}), 1u);
    EXPECT_FALSE(settings.watchEnabled);
    EXPECT_TRUE(settings.needsRedraw);
    EXPECT_EQ(count(3, "HideOverlay", {"1"}), 1u);
    EXPECT_FALSE(watchShown());
    run(3);
    EXPECT_TRUE(settings.watchEnabled);
    EXPECT_EQ(count(6, "ShowOverlay", {"1"}), 1u);
    EXPECT_TRUE(watchShown());
    EXPECT_FALSE(std::filesystem::exists(settingsFileName));
}

TEST_F(VrMenuOverlayTest, AChangeOfHandFindsTheOtherControllerInItsPassAndIsSaved) {
    start("1 controller 1 on left\n1 controller 2 on right\n1 dashboard open\n2 mouse click left hand\n", 1);
    EXPECT_EQ(vr.watchDeviceIndex, 1u);
    run(2);
    EXPECT_TRUE(settings.watchOnRightHand);
    EXPECT_EQ(vr.watchDeviceIndex, 2u);
    EXPECT_EQ(count(3, "GetTrackedDeviceIndexForControllerRole", {"2"}, {"2"}), 1u);
    EXPECT_EQ(readWholeFile(settingsFileName), "watchOnRightHand=true\ninitialWatchName=Alpha\n");
}

// The width follows the slider as it moves, the placement the last drag, and
// both come back at the next start, until a reset.
TEST_F(VrMenuOverlayTest, SlidersMoveTheWatchWhileDraggedAndComeBackAtTheNextStart) {
    start("1 controller 1 on left\n1 dashboard open\n2 mouse click Off\n2 mouse drag Size 0.5 0\n"
          "2 mouse drag Offset 1 1\n2 mouse drag Tilt 1 1\n", 24);
    std::set<std::string> widths;
    for (const RecordedCall& call : matching(session.calls(), "SetOverlayWidthInMeters", {"1"}))
        widths.insert(call.arguments[1]);
    EXPECT_GE(widths.size(), 6u);
    const std::vector<RecordedCall> placed =
        matching(session.calls(), "SetOverlayTransformTrackedDeviceRelative", {"1", "1"});
    ASSERT_FALSE(placed.empty());
    EXPECT_EQ(settings.placement, (WristPlacement{4, 5, 30}));
    EXPECT_NEAR(matrixOf(placed.back().arguments[2]).m[1][1], std::cos(165 * M_PI / 180), 1e-6);  // 135° + 30°
    EXPECT_NEAR(matrixOf(placed.back().arguments[2]).m[2][3], 0.23, 1e-6);
    EXPECT_FALSE(watchShown());

    settings = Settings{};
    settings.load(settingsFileName);
    start("1 dashboard open\n2 mouse click Reset placement\n", 4);
    std::vector<std::pair<unsigned long, std::string>> widthsAgain;
    for (const RecordedCall& call : matching(session.calls(), "SetOverlayWidthInMeters", {"1"}))
        widthsAgain.emplace_back(call.pass, call.arguments[1]);
    EXPECT_EQ(widthsAgain, (std::vector<std::pair<unsigned long, std::string>>{{0, "0.04"}, {3, "0.06"}}));
    Settings reset;
    reset.load(settingsFileName);
    EXPECT_EQ(reset.placement, WristPlacement{});
    EXPECT_EQ(reset.watchVisibility, WatchVisibility::Off);
}

}  // namespace
