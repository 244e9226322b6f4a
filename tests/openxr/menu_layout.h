#pragma once

#include <optional>
#include <string>

#include "ui/menu_buttons.h"

// Where the program's menu puts a button, found as the program finds it: the
// same panel laid out by Dear ImGui in this process, with the program's font
// and style, the settings file and the watches of the program's folder, at
// the menu's full size. Needs no GL; leaves no ImGui context behind.
std::optional<ButtonPlace> menuButtonInFolder(const std::string& folder, const std::string& label);
