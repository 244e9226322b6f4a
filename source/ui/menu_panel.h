#pragma once

// OpenGL's name for its objects, without the GL headers.
typedef unsigned int GLuint;

#include "ui/text_texture.h"

class WatchCatalogue;
struct Settings;

// The current watch's name and description as images, in any script. The
// program hands it to the menu's ImGui context (its io.UserData); without
// it the menu writes them in ImGui's own font.
struct PackageTexts {
    explicit PackageTexts(FontChain& fonts) : fonts(fonts) {}
    FontChain& fonts;
    TextTexture name, description;
};

// The menu is a square of this many pixels; menuTarget is made to match.
constexpr int menuSize = 1280;

// The whole dashboard menu in one ImGui window: switch the watch on or off,
// choose the hand, when the watch shows and how it sits on the wrist, step
// through the watches beside the current one's name, description and
// picture. Changes only the settings, and saves them at once after a change
// of anything but the on/off switch. Call between ImGui::NewFrame and
// ImGui::Render; the watch texture is shown as the watch overlay shows it.
void drawMenuPanel(Settings& settings, const WatchCatalogue& catalogue, GLuint watchTexture);
