#include "vr/menu_overlay.h"

#include <imgui.h>

#include "config/settings.h"
#include "ui/menu_drawing.h"
#include "ui/menu_panel.h"
#include "vr/menu_input.h"

bool MenuOverlay::update(Settings& settings, const WatchCatalogue& catalogue, const RenderTarget& menuTarget,
                         GLuint watchTexture, std::uint64_t watchImagesDrawn) {
    // The dashboard's opening and closing is seen only through this question.
    open = surface->isOpen();
    if (!open) {
        frames.menuHidden();
        inputAt.reset();
        return false;
    }

    ImGuiIO& io = ImGui::GetIO();
    // Before the first hand-over the runtime knows no size: the menu is then
    // drawn at the size it will be handed over in.
    if (frames.sizeMayHaveChanged()) {
        const std::optional<MenuSurface::Size> size = surface->imageSize();
        io.DisplaySize = size ? ImVec2(static_cast<float>(size->width), static_cast<float>(size->height))
                              : ImVec2(menuSize, menuSize);
    }
    bool broughtInput = false;
    PointerEvent event;
    while (surface->nextPointerEvent(event)) {
        feedPointerEvent(io, event);
        broughtInput = true;
    }
    if (broughtInput) inputAt = std::chrono::steady_clock::now();
    const MenuLook look{settings.watchEnabled,
                        settings.watchOnRightHand,
                        settings.initialWatchName,
                        watchImagesDrawn,
                        static_cast<std::uint32_t>(io.DisplaySize.x),
                        static_cast<std::uint32_t>(io.DisplaySize.y)};
    const MenuFrame frame = frames.frameDue(broughtInput, look);
    if (frame == MenuFrame::None) return false;
    drawMenu(frame, settings, catalogue, menuTarget, watchTexture);
    surface->setImage();
    return true;
}
