#pragma once

#include <memory>
#include <string>

#include "text/text_block.h"
#include "ui/menu_panel.h"

// The menu's Dear ImGui context with its OpenGL 3 back end, and the fonts
// of texts from outside the program (senders' toasts, the watches' names).
struct MenuGui {
    // The menu font first, then the system's fonts and those of the fonts
    // folder; null without a usable menu font, when ImGui's own draws them.
    FontChainPointer outsideFonts;
    // The current watch's name and description, handed to the menu through
    // ImGui's io.UserData; null with no outside fonts.
    std::unique_ptr<PackageTexts> packageTexts;
};

// Sets up the current ImGui context in the dark style, with the menu font
// at 64 pixels where it is fit for the menu (else ImGui's built-in one), and
// without an imgui.ini: the menu's one window never moves. Needs the GL
// context current; lasts for the process.
MenuGui setUpMenuGui(FT_Library freeType, const std::string& menuFontFile, const std::string& fontsFolder);
