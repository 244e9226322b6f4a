// The menu's share of a pass with a menu texture of another size than the
// program's, which only a test hands over; the program's own sessions are in
// tests/program/vr_program_test.cpp.
#include <gtest/gtest.h>
#include <cstdint>
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

// Before its first image the overlay has no size: the menu's own is used.
// After it, the laser's fractions are of the texture's size.
TEST(VrMenuOverlayTest, TheMouseIsScaledByTheSizeOfTheMenusTexture) {
    ensureGlContext();
    const MenuGuiContext gui;
    SimulatedSession session("1 dashboard open\n1 mouse move 1 1\n2 mouse move 0.5 0.25\n");
    writeFile(session.path("watches/Alpha/config"), ":watch\nname=Alpha\n");
    Settings settings;
    const WatchCatalogue catalogue(settings, nullptr, session.path("watches"));
    const RenderTarget watchTarget = createRenderTarget(256, 256), menuTarget = createRenderTarget(640, 320);
    VrContext vr;
    vr.runtime = session.startedRuntime();
    vr.runtime->CreateDashboardOverlay("app.quillmere.horlox.menu", "Horlox", &vr.menuOverlay, &vr.menuThumbnail);
    vr.runtime->SetOverlayInputMethod(vr.menuOverlay, VROverlayInputMethod_Mouse);
    vr.runtime->ShowOverlay(vr.menuOverlay);
    vr.menuTexture.handle = reinterpret_cast<void*>(std::uintptr_t{menuTarget.colorTexture});
    const ImGuiIO& io = ImGui::GetIO();
    for (const auto& [size, mouse] : {std::pair{ImVec2(menuSize, menuSize), ImVec2(menuSize, menuSize)},
                                      std::pair{ImVec2(640, 320), ImVec2(320, 80)}}) {
        pumpSystemEvents(vr);
        updateMenuOverlay(vr, settings, catalogue, menuTarget, watchTarget.colorTexture);
        EXPECT_EQ(std::make_pair(io.DisplaySize.x, io.DisplaySize.y), std::make_pair(size.x, size.y));
        EXPECT_EQ(std::make_pair(io.MousePos.x, io.MousePos.y), std::make_pair(mouse.x, mouse.y));
    }
}

}  // namespace
