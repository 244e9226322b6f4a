#pragma once

// OpenGL's name for its objects, without the GL headers.
typedef unsigned int GLuint;

#include "ui/menu_frame_rule.h"

class WatchCatalogue;
struct RenderTarget;
struct Settings;

// Draws one ImGui frame of the menu panel into menuTarget, with the input
// ImGui holds. A Picture frame draws only the pixels of the watch picture and
// leaves the rest as the last frame drew it, so it is for a menu that looks
// the same but for the picture. Needs the ImGui context with its OpenGL 3
// back end and the GL context current.
void drawMenu(MenuFrame frame, Settings& settings, const WatchCatalogue& catalogue,
              const RenderTarget& menuTarget, GLuint watchTexture);
