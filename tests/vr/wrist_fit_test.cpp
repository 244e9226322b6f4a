// The user's fit of the watch: its arithmetic, and the menu's sliders worked
// by the simulated runtime's laser pointer.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "config/settings.h"
#include "gl/render_target.h"
#include "support/gl_test_context.h"
#include "support/menu_gui_context.h"
#include "support/simulated_session.h"
#include "ui/menu_panel.h"
#include "vr/menu_overlay.h"
#include "vr/vr_connection.h"
#include "vr/watch_placement.h"
#include "watch/watch_catalogue.h"

namespace {

// Mirror images: the tilt turns both hands' dials the same way about the
// controller's x axis, the offset moves both back along it.
TEST(WristFitTest, TheFitTiltsAndMovesBothHandsAlike) {
    for (bool right : {false, true}) {
        const HmdMatrix34_t placed = watchPlacement(right, {6, 5, 30});
        const double tilt = (right ? 150 : 165) * M_PI / 180;
        EXPECT_NEAR(placed.m[1][0], (right ? 1 : -1) * std::sin(tilt), 1e-6) << right;
        EXPECT_NEAR(placed.m[1][1], std::cos(tilt), 1e-6) << right;
        EXPECT_NEAR(placed.m[0][3], right ? 0.025 : -0.025, 1e-6) << right;
        EXPECT_NEAR(placed.m[2][3], 0.23, 1e-6) << right;
    }
}

// A start in a working directory of its own, then some main-loop passes.
std::vector<RecordedCall> run(const SimulatedSession& session, Settings& settings, const std::string& scenario,
                const std::string& record, int passes) {
    ensureGlContext();
    writeFile(session.path("work/app.manifest"),
              R"({"applications": [{"app_key": "app.quillmere.horlox"}]})");
    writeFile(session.path("work/watches/Alpha/config"), ":watch\nname=Alpha\n");
    writeFile(session.path("scenario"), scenario);
    const auto previousDirectory = std::filesystem::current_path();
    std::filesystem::current_path(session.path("work"));
    const WatchCatalogue catalogue(settings, nullptr);
    MenuGuiContext gui;
    const RenderTarget watchTarget = createRenderTarget(256, 256);
    const RenderTarget menuTarget = createRenderTarget(menuSize, menuSize);
    VrContext vr = startVr(session.makeRuntime(record), settings, watchTarget, menuTarget);
    for (int i = 0; i < passes; ++i) {
        pumpSystemEvents(vr);
        updateMenuOverlay(vr, settings, catalogue, menuTarget, watchTarget.colorTexture);
    }
    EXPECT_EQ(vr.runtime->IsOverlayVisible(vr.watchOverlay),
              settings.watchVisibility == WatchVisibility::Always);
    std::filesystem::current_path(previousDirectory);
    return session.calls(record);
}

TEST(WristFitTest, SlidersMoveTheWatchWhileDraggedAndComeBackAtTheNextStart) {
    SimulatedSession session;
    Settings settings;
    const std::vector<RecordedCall> calls = run(session, settings,
                                "1 controller 1 on left\n1 dashboard open\n2 mouse click Off\n"
                                "2 mouse drag Size 0.5 0\n2 mouse drag Offset 1 1\n2 mouse drag Tilt 1 1\n",
                                "record", 24);
    std::set<std::string> widths;
    for (const RecordedCall& call : matching(calls, "SetOverlayWidthInMeters", {"1"})) widths.insert(call.arguments[1]);
    EXPECT_GE(widths.size(), 6u) << "the width follows the slider as it moves";
    const std::vector<RecordedCall> placed = matching(calls, "SetOverlayTransformTrackedDeviceRelative", {"1", "1"});
    ASSERT_FALSE(placed.empty());
    const HmdMatrix34_t last = matrixOf(placed.back().arguments[2]);
    EXPECT_EQ(settings.placement, (WristPlacement{4, 5, 30}));
    EXPECT_NEAR(last.m[1][1], std::cos(165 * M_PI / 180), 1e-6);  // 135° plus 30°
    EXPECT_NEAR(last.m[2][3], 0.23, 1e-6);

    Settings restarted;
    restarted.load(session.path("work/settings.conf"));
    const std::vector<RecordedCall> again =
        run(session, restarted, "1 dashboard open\n2 mouse click Reset placement\n", "again", 4);
    const std::vector<RecordedCall> widthsAgain = matching(again, "SetOverlayWidthInMeters", {"1"});
    ASSERT_EQ(widthsAgain.size(), 2u);
    EXPECT_EQ(std::make_pair(widthsAgain[0].pass, widthsAgain[0].arguments[1]), std::make_pair(0ul, std::string("0.04")));
    EXPECT_EQ(std::make_pair(widthsAgain[1].pass, widthsAgain[1].arguments[1]), std::make_pair(3ul, std::string("0.06")));
    Settings reset;
    reset.load(session.path("work/settings.conf"));
    EXPECT_EQ(reset.placement, WristPlacement{});
    EXPECT_EQ(reset.watchVisibility, WatchVisibility::Off);
}

}  // namespace
