#pragma once

#include "vr/vr_runtime.h"

struct ImGuiIO;

// Turns one of the menu overlay's laser-mouse events into ImGui input. Mouse
// positions come as OpenVR documents them, fractions of the overlay from its
// bottom-left corner, and become ImGui's pixels from the top-left, scaled by
// the display size, which must be set first. A button unknown to ImGui acts
// as the left one. Other events change nothing.
void feedMenuEvent(ImGuiIO& io, const VREvent_t& event);
