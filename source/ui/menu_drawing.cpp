#include "ui/menu_drawing.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

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

// Cuts the draw commands with the texture to the area and every other one to
// nothing; the back end skips commands cut to nothing.
void keepOnlyPicture(ImDrawData& frame, ImTextureID texture, const ImVec4& area) {
    for (int list = 0; list < frame.CmdListsCount; ++list) {
        for (ImDrawCmd& command : frame.CmdLists[list]->CmdBuffer) {
            ImVec4& clip = command.ClipRect;
            clip = command.TextureId != texture
                       ? ImVec4(0, 0, 0, 0)
                       : ImVec4(std::max(clip.x, area.x), std::max(clip.y, area.y),
                                std::min(clip.z, area.z), std::min(clip.w, area.w));
        }
    }
}

// The window's background as ImGui's blending leaves it on the transparent
// menu: its colour times its alpha, and its alpha.
std::uint32_t backgroundPixel() {
    const ImVec4 colour = ImGui::GetStyleColorVec4(ImGuiCol_WindowBg);
    return ImGui::ColorConvertFloat4ToU32(
        ImVec4(colour.x * colour.w, colour.y * colour.w, colour.z * colour.w, colour.w));
}

// Paints the area of the menu's texture with the window's background, which
// is all that lies under the picture. Written as pixels rather than cleared:
// a software rasteriser clears part of a target by drawing over it, at
// several times the cost.
void paintBackground(const RenderTarget& menuTarget, const ImDrawData& frame, const ImVec4& area) {
    const int left = std::max(0, static_cast<int>(area.x));
    const int right = std::min(static_cast<int>(area.z), menuTarget.width);
    // GL counts rows from the bottom.
    const int height = static_cast<int>(frame.DisplaySize.y);
    const int bottom = std::max(0, height - static_cast<int>(area.w));
    const int top = std::min(height - static_cast<int>(area.y), menuTarget.height);
    if (right <= left || top <= bottom) return;
    const std::vector<std::uint32_t> pixels(std::size_t(right - left) * std::size_t(top - bottom),
                                            backgroundPixel());
    glBindTexture(GL_TEXTURE_2D, menuTarget.colorTexture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, left, bottom, right - left, top - bottom, GL_RGBA,
                    GL_UNSIGNED_BYTE, pixels.data());
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
        const ImVec4 area = areaDrawnWith(drawn, picture);
        keepOnlyPicture(drawn, picture, area);
        paintBackground(menuTarget, drawn, area);
    } else {
        // The menu is drawn without depth.
        glClear(GL_COLOR_BUFFER_BIT);
    }
    ImGui_ImplOpenGL3_RenderDrawData(&drawn);
}
