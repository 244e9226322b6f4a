#pragma once

#include "vr/vr_runtime.h"

struct ImGuiIO;

// Turns one of the menu overlay's laser-mouse events into ImGui input. Mouse
// positions are fractions of the overlay and are scaled by the display size,
// which must be set first; y is taken as it comes. A button unknown to ImGui
// acts as the left one. Other events change nothing.
void feedMenuEvent(ImGuiIO& io, const VREvent_t& event);
