#pragma once

// OpenGL's name for its objects, without the GL headers.
typedef unsigned int GLuint;

#include "vr/vr_context.h"

class WatchCatalogue;
struct RenderTarget;
struct Settings;

// The dashboard menu's share of a pass. Only while the dashboard shows the
// menu: the overlay's laser-mouse events are fed to ImGui, and in passes in
// which the menu can look different (see MenuFrameRule) a frame of the menu
// panel is drawn into menuTarget and handed to the runtime; then the watch's
// controller is looked up again, the watch overlay shown or hidden and
// fitted, so a choice made in this frame reaches the runtime in this pass. Needs the ImGui
// context with its OpenGL 3 back end and the GL context current.
void updateMenuOverlay(VrContext& vr, Settings& settings, const WatchCatalogue& catalogue,
                       const RenderTarget& menuTarget, GLuint watchTexture);
