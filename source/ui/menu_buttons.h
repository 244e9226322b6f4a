#pragma once

#include <optional>
#include <string>

// Where the menu's buttons stood in its most recent frame, by label. The menu
// itself needs none of it: it is there for whoever has to point at a button by
// its name, as the simulated VR runtime's scripted clicks do, so that they
// follow the layout instead of hard-coded coordinates.

// A button's rectangle in the menu's pixels, from its top-left corner, y down.
struct ButtonPlace {
    float left = 0, top = 0, right = 0, bottom = 0;
};

// Forgets the buttons of the previous frame; called as a frame of the menu begins.
void forgetMenuButtons();

// ImGui::Button of default size that also notes where it was drawn. True when
// pressed.
bool menuButton(const char* label);

// Notes where the control just drawn stands, under the label, as menuButton
// does for a button.
void noteMenuControl(const std::string& label);

std::optional<ButtonPlace> findMenuButton(const std::string& label);
