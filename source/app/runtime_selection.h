#pragma once

#include <memory>
#include <optional>
#include <string>

#include "vr/runtime/vr_runtime.h"
#include "vr/simulated/simulated_runtime.h"

// The runtime named by HORLOX_VR_RUNTIME: "openxr", "openvr" or "simulated";
// unset, OpenXR when the active OpenXR runtime offers overlay sessions, else
// OpenVR. The choice and its reason are logged. When the named runtime is
// not part of this build or the name is unknown, it is OpenVR without its
// client library, which reports that no runtime is installed.
std::unique_ptr<VrRuntime> selectVrRuntime();

// Where the menu's control with that label stands, for the simulated
// runtime's clicks and drags.
std::optional<MenuRect> menuButtonPlace(const std::string& label);
