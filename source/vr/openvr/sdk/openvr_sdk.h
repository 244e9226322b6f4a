#pragma once

#include <memory>

#include "vr/openvr/openvr_api.h"

// OpenVR's calls as the OpenVR SDK's client library answers them, for the
// OpenVR wing. Exists only in builds configured with HORLOX_OPENVR_SDK_DIR or
// an installed OpenVR.
std::unique_ptr<OpenVrApi> createOpenVrSdk();
