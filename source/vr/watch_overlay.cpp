#include "vr/watch_overlay.h"

#include "config/settings.h"
#include "platform/debug_output.h"
#include "vr/watch_placement.h"

void resolveWatchDevice(VrContext& vr, const Settings& settings) {
    vr.watchRole = settings.watchOnRightHand ? TrackedControllerRole_RightHand
                                             : TrackedControllerRole_LeftHand;
    lookUpWatchDevice(vr);
}

void lookUpWatchDevice(VrContext& vr) {
    vr.watchDeviceIndex = vr.runtime->GetTrackedDeviceIndexForControllerRole(vr.watchRole);
}

void showOrHideWatch(VrContext& vr, const Settings& settings) {
    if (vr.watchDeviceIndex != k_unTrackedDeviceIndexInvalid && settings.watchEnabled)
        vr.runtime->ShowOverlay(vr.watchOverlay);
    else
        vr.runtime->HideOverlay(vr.watchOverlay);
}

void drainWatchEvents(VrContext& vr) {
    VREvent_t event;
    while (vr.runtime->PollNextOverlayEvent(vr.watchOverlay, &event, sizeof event)) {
        const char* name =
            vr.runtime->GetEventTypeNameFromEnum(static_cast<EVREventType>(event.eventType));
        platform::writeDebugOutput(name ? name : "");
        platform::writeDebugOutput("\n");
    }
}

void submitWatch(VrContext& vr) {
    vr.runtime->SetOverlayTexture(vr.watchOverlay, &vr.watchTexture);
    ++vr.watchImagesHandedOver;
}

void placeWatch(VrContext& vr, const Settings& settings) {
    const HmdMatrix34_t placement = watchPlacement(settings.watchOnRightHand);
    if (vr.runtime->SetOverlayTransformTrackedDeviceRelative(vr.watchOverlay, vr.watchDeviceIndex,
                                                             &placement) != VROverlayError_None)
        platform::writeDebugOutput("Error setting overlay tracked device relative!");
}
