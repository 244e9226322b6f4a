#include "vr/menu_overlay.h"

#include <cstdint>

#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include "gl/render_target.h"
#include "ui/menu_panel.h"
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

}  // namespace

void updateMenuOverlay(VrContext& vr, Settings& settings, const WatchCatalogue& catalogue,
                       const RenderTarget& menuTarget, GLuint watchTexture) {
    // The dashboard's opening and closing is seen only through this question.
    vr.menuShown = vr.runtime->IsOverlayVisible(vr.menuOverlay);
    if (!vr.menuShown) return;

    glBindFramebuffer(GL_FRAMEBUFFER, menuTarget.framebuffer);
    glViewport(0, 0, menuSize, menuSize);
    ImGui_ImplOpenGL3_NewFrame();

    ImGuiIO& io = ImGui::GetIO();
    io.DisplaySize = menuDisplaySize(vr);
    VREvent_t event;
    while (vr.runtime->PollNextOverlayEvent(vr.menuOverlay, &event, sizeof event))
        feedMenuEvent(io, event);

    ImGui::NewFrame();
    drawMenuPanel(settings, catalogue, watchTexture);
    ImGui::Render();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    vr.runtime->SetOverlayTexture(vr.menuOverlay, &vr.menuTexture);

    resolveWatchDevice(vr, settings);
    showOrHideWatch(vr, settings);
    fitWatch(vr, settings);
}
