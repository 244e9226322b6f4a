#pragma once

// OpenGL's name for its objects, without the GL headers.
typedef unsigned int GLuint;

class WatchCatalogue;
struct Settings;

// The menu is a square of this many pixels; menuTarget is made to match.
constexpr int menuSize = 1280;

// The whole dashboard menu in one ImGui window: switch the watch on or off,
// choose the hand, when the watch shows and how it sits on the wrist, step
// through the watches beside the current one's name, description and
// picture. Changes only the settings, and saves them at once after a change
// of anything but the on/off switch. Call between ImGui::NewFrame and
// ImGui::Render; the watch texture is shown as the watch overlay shows it.
void drawMenuPanel(Settings& settings, const WatchCatalogue& catalogue, GLuint watchTexture);
