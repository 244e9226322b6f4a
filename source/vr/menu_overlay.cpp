#include "vr/menu_overlay.h"

#include <cstdint>

#include <imgui.h>

#include "config/settings.h"
#include "ui/menu_panel.h"
#include "ui/menu_drawing.h"
#include "vr/menu_input.h"
#include "vr/watch_overlay.h"

namespace {

// Before the first hand-over the overlay has no texture and so no size: the
// menu is then drawn at the size it will be handed over in.
ImVec2 menuDisplaySize(VrContext& vr) {
    std::uint32_t width = 0, height = 0;
    if (vr.runtime->GetOverlayTextureSize(vr.menuOverlay, &width, &height) != VROverlayError_None ||
        width == 0 || height == 0)
        return ImVec2(menuSize, menuSize);
    return ImVec2(static_cast<float>(width), static_cast<float>(height));
}

MenuLook lookOf(const VrContext& vr, const Settings& settings, ImVec2 displaySize) {
    return {settings.watchEnabled, settings.watchOnRightHand, settings.initialWatchName,
            vr.watchImagesDrawn, static_cast<std::uint32_t>(displaySize.x),
            static_cast<std::uint32_t>(displaySize.y)};
}

}  // namespace

void updateMenuOverlay(VrContext& vr, Settings& settings, const WatchCatalogue& catalogue,
                       const RenderTarget& menuTarget, GLuint watchTexture) {
    // The dashboard's opening and closing is seen only through this question.
    vr.menuShown = vr.runtime->IsOverlayVisible(vr.menuOverlay);
    if (!vr.menuShown) {
        vr.menuFrames.menuHidden();
        vr.lastMenuInput.reset();
        return;
    }

    ImGuiIO& io = ImGui::GetIO();
    if (vr.menuFrames.sizeMayHaveChanged()) io.DisplaySize = menuDisplaySize(vr);
    bool broughtInput = false;
    VREvent_t event;
    while (vr.runtime->PollNextOverlayEvent(vr.menuOverlay, &event, sizeof event)) {
        feedMenuEvent(io, event);
        broughtInput = true;
    }
    if (broughtInput) vr.lastMenuInput = std::chrono::steady_clock::now();
    const MenuFrame frame =
        vr.menuFrames.frameDue(broughtInput, lookOf(vr, settings, io.DisplaySize));
    if (frame == MenuFrame::None) return;
    drawMenu(frame, settings, catalogue, menuTarget, watchTexture);
    vr.runtime->SetOverlayTexture(vr.menuOverlay, &vr.menuTexture);

    resolveWatchDevice(vr, settings);
    showOrHideWatch(vr, settings);
    fitWatch(vr, settings);
}
