#pragma once

#include <cstdint>
#include <string>

#include "vr/openvr/openvr_api.h"

// How the simulated runtime writes its answers and its call log.

// OpenVR's names for the values the simulated runtime hands out, spelt as the
// SDK spells them. A value without a name here gets a fixed "unknown" text.
const char* initErrorName(EVRInitError error);
const char* applicationErrorName(EVRApplicationError error);
const char* overlayErrorName(EVROverlayError error);
const char* eventTypeName(std::uint32_t eventType);
const char* trackedPropertyName(ETrackedDeviceProperty prop);
const char* trackedPropertyErrorName(ETrackedPropertyError error);

std::string formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A text in quotes that stays on one line whatever bytes it holds; "null" for none.
std::string quoted(const char* text);
// "[a b c d; e f g h; i j k l]", or "null".
std::string describeMatrix(const HmdMatrix34_t* matrix);
// One entry per pose, "<device> [matrix]", "<device> lost" or "<device> off";
// "null" for none.
std::string describePoses(const TrackedDevicePose_t* poses, std::uint32_t count);
// The event's name and device, with the mouse, scroll or property data where
// it has some.
std::string describeEvent(const VREvent_t& event);

// "Simulated VR runtime: <fault>" on the debugger output.
void reportSimulatorFault(const std::string& fault);
