#pragma once

#include <memory>

#include "vr/runtime/vr_runtime.h"

class OpenVrApi;

// The VR runtime through OpenVR's calls: the SDK's client library
// (vr/openvr/sdk) or the simulated runtime. Without them (null) the runtime
// is not installed, and every start and probe says so as OpenVR would.
std::unique_ptr<VrRuntime> createOpenVrRuntime(std::unique_ptr<OpenVrApi> api);
