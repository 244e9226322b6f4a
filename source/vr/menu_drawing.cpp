#include "vr/menu_drawing.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include "gl/render_target.h"
#include "ui/menu_panel.h"

namespace {

// The menu's pixels that the frame's draw commands with the texture cover,
// whole pixels from the top-left (x1, y1, x2, y2); empty when none do.
ImVec4 areaDrawnWith(const ImDrawData& frame, ImTextureID texture) {
    ImVec4 area(FLT_MAX, FLT_MAX, 0, 0);
    for (int list = 0; list < frame.CmdListsCount; ++list) {
        const ImDrawList& commands = *frame.CmdLists[list];
        for (const ImDrawCmd& command : commands.CmdBuffer) {
            if (command.UserCallback || command.TextureId != texture) continue;
            const ImDrawIdx* indices = commands.IdxBuffer.Data + command.IdxOffset;
            for (unsigned i = 0; i < command.ElemCount; ++i) {
                const ImVec2 corner = commands.VtxBuffer[command.VtxOffset + indices[i]].pos;
                area = ImVec4(std::min(area.x, std::floor(corner.x)),
                              std::min(area.y, std::floor(corner.y)),
                              std::max(area.z, std::ceil(corner.x)),
                              std::max(area.w, std::ceil(corner.y)));
            }
        }
    }
    return area.x < area.z && area.y < area.w ? area : ImVec4(0, 0, 0, 0);
}

// Cuts every draw command to the area, which the back end then skips when cut
// to nothing, and turns the scissor on around it for the clear that follows.
void limitFrameTo(ImDrawData& frame, const ImVec4& area) {
    for (int list = 0; list < frame.CmdListsCount; ++list) {
        for (ImDrawCmd& command : frame.CmdLists[list]->CmdBuffer) {
            ImVec4& clip = command.ClipRect;
            clip = ImVec4(std::max(clip.x, area.x), std::max(clip.y, area.y),
                          std::min(clip.z, area.z), std::min(clip.w, area.w));
        }
    }
    const int height = static_cast<int>(frame.DisplaySize.y);
    glEnable(GL_SCISSOR_TEST);
    // GL counts rows from the bottom.
    glScissor(static_cast<GLint>(area.x), height - static_cast<GLint>(area.w),
              std::max(0, static_cast<GLsizei>(area.z - area.x)),
              std::max(0, static_cast<GLsizei>(area.w - area.y)));
}

}  // namespace

void drawMenu(MenuFrame frame, Settings& settings, const WatchCatalogue& catalogue,
              const RenderTarget& menuTarget, GLuint watchTexture) {
    glBindFramebuffer(GL_FRAMEBUFFER, menuTarget.framebuffer);
    glViewport(0, 0, menuSize, menuSize);
    ImGui_ImplOpenGL3_NewFrame();
    ImGui::NewFrame();
    drawMenuPanel(settings, catalogue, watchTexture);
    ImGui::Render();

    ImDrawData& drawn = *ImGui::GetDrawData();
    if (frame == MenuFrame::Picture) {
        const auto picture =
            reinterpret_cast<ImTextureID>(static_cast<std::uintptr_t>(watchTexture));
        limitFrameTo(drawn, areaDrawnWith(drawn, picture));
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    ImGui_ImplOpenGL3_RenderDrawData(&drawn);
}
