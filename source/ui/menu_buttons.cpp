#include "ui/menu_buttons.h"

#include <map>

#include <imgui.h>

namespace {

std::map<std::string, ButtonPlace>& lastFrameButtons() {
    static std::map<std::string, ButtonPlace> buttons;
    return buttons;
}

}  // namespace

void forgetMenuButtons() { lastFrameButtons().clear(); }

bool menuButton(const char* label) {
    const bool pressed = ImGui::Button(label);
    noteMenuControl(label);
    return pressed;
}

void noteMenuControl(const std::string& label) {
    const ImVec2 topLeft = ImGui::GetItemRectMin();
    const ImVec2 bottomRight = ImGui::GetItemRectMax();
    lastFrameButtons()[label] = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

std::optional<ButtonPlace> findMenuButton(const std::string& label) {
    const auto found = lastFrameButtons().find(label);
    if (found == lastFrameButtons().end()) return std::nullopt;
    return found->second;
}
