#pragma once

#include <memory>

#include "vr/vr_runtime.h"

// The real VR runtime through the OpenVR SDK's client library. Exists only in
// builds configured with HORLOX_OPENVR_SDK_DIR.
std::unique_ptr<VrRuntime> createOpenVrRuntime();
