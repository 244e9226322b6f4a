#include "ui/wrist_controls.h"

#include <cfloat>
#include <string>
#include <utility>

#include <imgui.h>

#include "config/settings.h"
#include "ui/menu_buttons.h"

namespace {

constexpr std::pair<WatchVisibility, const char*> visibilityChoices[] = {
    {WatchVisibility::Always, "Always"},
    {WatchVisibility::WhenLookedAt, "When I look at it"},
    {WatchVisibility::Off, "Off"},
};

// As wide as the menu; its text names it.
void placementSlider(Settings& settings, const char* name, float* value, float low, float high,
                     const char* format) {
    ImGui::SetNextItemWidth(-FLT_MIN);
    ImGui::SliderFloat((std::string("##") + name).c_str(), value, low, high, format,
                       ImGuiSliderFlags_AlwaysClamp);
    noteMenuControl(name);
    if (ImGui::IsItemDeactivatedAfterEdit()) settings.save();
}

}  // namespace

void drawWristControls(Settings& settings) {
    for (const auto& [visibility, label] : visibilityChoices) {
        if (visibility != WatchVisibility::Always) ImGui::SameLine();
        if (ImGui::RadioButton(label, settings.watchVisibility == visibility) &&
            settings.watchVisibility != visibility) {
            settings.watchVisibility = visibility;
            settings.needsRedraw = true;
            settings.save();
        }
        noteMenuControl(label);
    }

    WristPlacement& fit = settings.placement;
    placementSlider(settings, "Size", &fit.widthCm, minWatchWidthCm, maxWatchWidthCm,
                    "Size %.1f cm");
    placementSlider(settings, "Offset", &fit.offsetCm, -maxWatchOffsetCm, maxWatchOffsetCm,
                    "Offset %+.1f cm");
    placementSlider(settings, "Tilt", &fit.tiltDegrees, -maxWatchTiltDegrees, maxWatchTiltDegrees,
                    "Tilt %+.0f\xC2\xB0");
    if (menuButton("Reset placement")) {
        fit = WristPlacement{};
        settings.save();
    }
}
