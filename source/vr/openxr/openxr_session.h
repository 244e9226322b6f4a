#pragma once

#include <openxr/openxr.h>

#include <array>
#include <cstdint>

// The hands, in the order of their device indices after the headset's.
constexpr int handCount = 2;
constexpr const char* handPaths[handCount] = {"/user/hand/left", "/user/hand/right"};

// What an overlay session needs from the runtime, made once at the start and
// released as a whole with the instance.
struct OpenXrSession {
    XrInstance instance = XR_NULL_HANDLE;
    XrSession session = XR_NULL_HANDLE;
    XrSpace stage = XR_NULL_HANDLE;  // the standing universe
    XrSpace view = XR_NULL_HANDLE;   // the headset
    XrActionSet actions = XR_NULL_HANDLE;
    std::array<XrPath, handCount> hands{};   // the hands' paths, for each hand's part of an action
    std::array<XrSpace, handCount> grips{};  // each hand's grip pose
    std::array<XrSpace, handCount> aims{};   // each hand's aim pose: the laser
    // The menu's controls on each hand, bound on every profile the runtime
    // knows: the button that opens and closes it, the trigger that clicks,
    // the thumbstick or trackpad that scrolls, and the pulse that confirms.
    XrAction menuButton = XR_NULL_HANDLE;  // boolean
    XrAction select = XR_NULL_HANDLE;      // from 0 to 1
    XrAction scroll = XR_NULL_HANDLE;      // two axes; y up
    XrAction haptic = XR_NULL_HANDLE;
    std::int64_t swapchainFormat = 0;        // the GL format of the quads' images
    // Whether the runtime scales a layer's colours, and so its alpha, itself.
    bool colorScaleBias = false;
};

// Creates the instance, an overlay session bound to the GL context current on
// this thread (GLX), the stage and view spaces, the hands' grip and aim poses
// and the menu's controls.
// On failure the result of the call that failed, with nothing left behind.
XrResult startOpenXrSession(OpenXrSession& started);

// Whether a runtime is there with a headset, without a session or GL: an
// instance is made, asked for the system and released.
XrResult findOpenXrSystem();

// Releases the instance and everything made from it.
void endOpenXrSession(OpenXrSession& session);
