#pragma once

#include <memory>

#include "vr/runtime/vr_runtime.h"

// The VR runtime as an OpenXR overlay session (XR_EXTX_overlay), as Monado
// and WiVRn offer it. start needs the program's GL context current.
std::unique_ptr<VrRuntime> createOpenXrRuntime();

// Whether the active OpenXR runtime offers overlay sessions, asked of the
// OpenXR loader without starting anything.
bool openXrOverlaysOffered();
