#include "vr/watch_overlay.h"

#include "config/settings.h"
#include "platform/log.h"
#include "vr/watch_placement.h"

void resolveWatchDevice(VrContext& vr, const Settings& settings) {
    vr.watchRole = settings.watchOnRightHand ? TrackedControllerRole_RightHand
                                             : TrackedControllerRole_LeftHand;
    lookUpWatchDevice(vr);
}

void lookUpWatchDevice(VrContext& vr) {
    vr.watchDeviceIndex = vr.runtime->GetTrackedDeviceIndexForControllerRole(vr.watchRole);
}

bool watchOverlayShows(const VrContext& vr, const Settings& settings) {
    if (vr.watchDeviceIndex == k_unTrackedDeviceIndexInvalid || !settings.watchEnabled) return false;
    switch (settings.watchVisibility) {
        case WatchVisibility::Always: return true;
        case WatchVisibility::WhenLookedAt: return glanceShowsWatch(vr.glance);
        case WatchVisibility::Off: return false;
    }
    return false;
}

void showOrHideWatch(VrContext& vr, const Settings& settings) {
    if (!watchOverlayShows(vr, settings)) {
        vr.runtime->HideOverlay(vr.watchOverlay);
        return;
    }
    const float alpha =
        settings.watchVisibility == WatchVisibility::WhenLookedAt ? vr.glance.alpha : 1.0f;
    if (alpha != vr.watchAlpha &&
        vr.runtime->SetOverlayAlpha(vr.watchOverlay, alpha) == VROverlayError_None)
        vr.watchAlpha = alpha;
    vr.runtime->ShowOverlay(vr.watchOverlay);
}

void drainWatchEvents(VrContext& vr) {
    VREvent_t event;
    while (vr.runtime->PollNextOverlayEvent(vr.watchOverlay, &event, sizeof event)) {
        const char* name =
            vr.runtime->GetEventTypeNameFromEnum(static_cast<EVREventType>(event.eventType));
        logThrottled("Watch overlay: %s", name ? name : "an event without a name");
    }
}

void submitWatch(VrContext& vr, const Settings& settings) {
    if (watchOverlayShows(vr, settings)) vr.runtime->SetOverlayTexture(vr.watchOverlay, &vr.watchTexture);
    ++vr.watchImagesDrawn;
}

void placeWatch(VrContext& vr, const Settings& settings) {
    const HmdMatrix34_t placement = watchPlacement(settings.watchOnRightHand, settings.placement);
    if (vr.runtime->SetOverlayTransformTrackedDeviceRelative(vr.watchOverlay, vr.watchDeviceIndex,
                                                             &placement) != VROverlayError_None)
        logThrottled("The runtime did not place the watch on its controller");
}

void fitWatch(VrContext& vr, const Settings& settings) {
    if (settings.placement == vr.watchFit) return;
    vr.watchFit = settings.placement;
    vr.runtime->SetOverlayWidthInMeters(vr.watchOverlay, watchWidthInMeters(vr.watchFit));
    if (vr.watchDeviceIndex != k_unTrackedDeviceIndexInvalid) placeWatch(vr, settings);
}
