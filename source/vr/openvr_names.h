#pragma once

#include <cstdint>

#include "vr/vr_runtime.h"

// OpenVR's names for the values the simulated runtime hands out, spelt as the
// SDK spells them, for its answers and its call log. A value without a name
// here gets a fixed "unknown" text.
const char* initErrorName(EVRInitError error);
const char* applicationErrorName(EVRApplicationError error);
const char* overlayErrorName(EVROverlayError error);
const char* eventTypeName(std::uint32_t eventType);
