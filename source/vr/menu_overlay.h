#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "ui/menu_frame_rule.h"
#include "vr/runtime/vr_runtime.h"

class WatchCatalogue;
struct RenderTarget;
struct Settings;

// The dashboard menu. Only while the dashboard shows it: the pointer's events
// are fed to ImGui, and in passes in which the menu can look different (see
// MenuFrameRule) a frame of the menu panel is drawn into menuTarget and
// handed to the runtime. Needs the ImGui context with its OpenGL 3 back end
// and the GL context current.
class MenuOverlay {
public:
    explicit MenuOverlay(std::unique_ptr<MenuSurface> surface) : surface(std::move(surface)) {}

    // True when a frame was drawn: a choice made in it is to reach the
    // runtime in this pass.
    bool update(Settings& settings, const WatchCatalogue& catalogue, const RenderTarget& menuTarget,
                GLuint watchTexture, std::uint64_t watchImagesDrawn);

    // Whether the dashboard showed the menu in this pass, and when the menu
    // last had input while it showed.
    bool shown() const { return open; }
    std::optional<std::chrono::steady_clock::time_point> lastInput() const { return inputAt; }

private:
    const std::unique_ptr<MenuSurface> surface;
    MenuFrameRule frames;
    bool open = false;
    std::optional<std::chrono::steady_clock::time_point> inputAt;
};
