#pragma once

#include "vr/runtime/vr_runtime.h"

struct ImGuiIO;

// Turns one of the menu's pointer events into ImGui input: positions, given
// as fractions of the menu, become ImGui's pixels, scaled by the display
// size, which must be set first.
void feedPointerEvent(ImGuiIO& io, const PointerEvent& event);
