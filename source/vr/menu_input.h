#pragma once

#include "vr/vr_runtime.h"

struct ImGuiIO;

// Turns one of the menu overlay's laser-mouse events into ImGui input. Mouse
// positions are fractions of the overlay and are scaled by the display size,
// which must be set first; y is taken as it comes. Other events change nothing.
void feedMenuEvent(ImGuiIO& io, const VREvent_t& event);

// ImGui's index for a runtime mouse button; anything unknown acts as the left one.
int imGuiMouseButton(std::uint32_t button);
