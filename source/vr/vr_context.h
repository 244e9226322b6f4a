#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "config/wrist_placement.h"
#include "ui/menu_frame_rule.h"
#include "vr/vr_runtime.h"
#include "vr/watch_glance.h"
#include "watch/battery_status.h"

// The VR side's state, filled by startVr and kept for the whole run by the
// entry point. Offline it stays as constructed.
struct VrContext {
    std::unique_ptr<VrRuntime> runtime;

    VROverlayHandle_t watchOverlay = k_ulOverlayHandleInvalid;
    VROverlayHandle_t menuOverlay = k_ulOverlayHandleInvalid;
    VROverlayHandle_t menuThumbnail = k_ulOverlayHandleInvalid;
    // None when the runtime would not make it: the program then shows no toasts.
    VROverlayHandle_t toastOverlay = k_ulOverlayHandleInvalid;

    Texture_t watchTexture{nullptr, TextureType_OpenGL, ColorSpace_Auto};
    Texture_t menuTexture{nullptr, TextureType_OpenGL, ColorSpace_Auto};
    Texture_t toastTexture{nullptr, TextureType_OpenGL, ColorSpace_Auto};
    // No handle while "dashboard_overlay.png" gave no image.
    Texture_t thumbnailTexture{nullptr, TextureType_OpenGL, ColorSpace_Auto};

    ETrackedControllerRole watchRole = TrackedControllerRole_Invalid;
    TrackedDeviceIndex_t watchDeviceIndex = k_unTrackedDeviceIndexInvalid;

    // The batteries as last read; device events mark them for a new reading.
    DeviceBatteries batteries;
    bool batteriesStale = true;
    std::chrono::steady_clock::time_point batteriesReadAt;

    // Counted so that the menu knows when its picture of the watch is stale.
    std::uint64_t watchImagesDrawn = 0;
    MenuFrameRule menuFrames;

    // The glance while the watch shows only when looked at, and when the
    // previous pass looked.
    GlanceState glance;
    std::chrono::steady_clock::time_point lastLook = std::chrono::steady_clock::now();
    // What the runtime was last given; an overlay starts at alpha 1.
    float watchAlpha = 1;
    WristPlacement watchFit;
    // Whether the dashboard showed the menu in this pass, and when the menu
    // last had input while it showed.
    bool menuShown = false;
    std::optional<std::chrono::steady_clock::time_point> lastMenuInput;
    // The toast as the runtime was last told: shown, at which alpha, and
    // placed on which controller for which hand and fit.
    bool toastShown = false;
    bool toastImagePending = false;
    float toastAlpha = 1;
    TrackedDeviceIndex_t toastDevice = k_unTrackedDeviceIndexInvalid;
    bool toastOnRightHand = false;
    WristPlacement toastFit;
};
