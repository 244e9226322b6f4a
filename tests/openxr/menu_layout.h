#pragma once

#include <optional>
#include <string>

#include "ui/menu_buttons.h"

// Where the program's menu puts a button, found as the program finds it: the
// same panel laid out by Dear ImGui in this process, set up as the program
// sets it up, with the font, the settings file and the watches of the
// program's working folder, at the menu's full size. Needs the X display;
// leaves no ImGui context behind.
std::optional<ButtonPlace> menuButtonInFolder(const std::string& folder, const std::string& label);
