#pragma once

#include <memory>

#include "vr/runtime/vr_runtime.h"

class OpenVrApi;

// The VR runtime through OpenVR's calls: the SDK's client library
// (vr/openvr/sdk) or the simulated runtime.
std::unique_ptr<VrRuntime> createOpenVrRuntime(std::unique_ptr<OpenVrApi> api);

// OpenVR where nothing answers its calls: a build without the client library.
// Every start and probe says that no runtime is installed, as OpenVR would.
std::unique_ptr<VrRuntime> createOpenVrRuntime();
