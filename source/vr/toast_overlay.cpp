#include "vr/toast_overlay.h"

#include <cstdint>

#include "config/settings.h"
#include "platform/log.h"
#include "vr/watch_placement.h"

namespace {

constexpr float toastWidthInMeters = 0.10f;
constexpr float toastHeightInMeters = toastWidthInMeters / 2;  // the image is twice as wide as high

bool toastCanShow(const VrContext& vr, const Settings& settings, float alpha) {
    return alpha > 0 && settings.notifications.shown && settings.watchEnabled &&
           settings.watchVisibility != WatchVisibility::Off &&
           vr.watchDeviceIndex != k_unTrackedDeviceIndexInvalid;
}

void placeToast(VrContext& vr, const Settings& settings) {
    if (vr.toastDevice == vr.watchDeviceIndex && vr.toastOnRightHand == settings.watchOnRightHand &&
        vr.toastFit == settings.placement)
        return;
    const HmdMatrix34_t placement =
        toastPlacement(settings.watchOnRightHand, settings.placement, toastHeightInMeters);
    if (vr.runtime->SetOverlayTransformTrackedDeviceRelative(vr.toastOverlay, vr.watchDeviceIndex,
                                                             &placement) != VROverlayError_None)
        return;
    vr.toastDevice = vr.watchDeviceIndex;
    vr.toastOnRightHand = settings.watchOnRightHand;
    vr.toastFit = settings.placement;
}

}  // namespace

void createToastOverlay(VrContext& vr, GLuint toastTexture) {
    if (toastTexture == 0) return;
    if (vr.runtime->CreateOverlay("app.quillmere.horlox.toast", "Horlox Notifications",
                                  &vr.toastOverlay) != VROverlayError_None) {
        vr.toastOverlay = k_ulOverlayHandleInvalid;
        logMessage("The runtime made no overlay for notifications; none are shown");
        return;
    }
    vr.toastTexture = Texture_t{reinterpret_cast<void*>(static_cast<std::uintptr_t>(toastTexture)),
                                TextureType_OpenGL, ColorSpace_Auto};
    vr.runtime->SetOverlayWidthInMeters(vr.toastOverlay, toastWidthInMeters);
    vr.runtime->HideOverlay(vr.toastOverlay);
}

void updateToastOverlay(VrContext& vr, const Settings& settings, float alpha, bool newImage) {
    if (vr.toastOverlay == k_ulOverlayHandleInvalid) return;
    vr.toastImagePending |= newImage;
    if (!toastCanShow(vr, settings, alpha)) {
        if (vr.toastShown) vr.runtime->HideOverlay(vr.toastOverlay);
        vr.toastShown = false;
        return;
    }
    if (vr.toastImagePending) vr.runtime->SetOverlayTexture(vr.toastOverlay, &vr.toastTexture);
    vr.toastImagePending = false;
    placeToast(vr, settings);
    if (alpha != vr.toastAlpha &&
        vr.runtime->SetOverlayAlpha(vr.toastOverlay, alpha) == VROverlayError_None)
        vr.toastAlpha = alpha;
    if (!vr.toastShown) vr.runtime->ShowOverlay(vr.toastOverlay);
    vr.toastShown = true;
}
