#include "vr/openvr_names.h"

#define NAME_OF(value) \
    case value:        \
        return #value

const char* initErrorName(EVRInitError error) {
    switch (error) {
        NAME_OF(VRInitError_None);
        NAME_OF(VRInitError_Init_InstallationNotFound);
        NAME_OF(VRInitError_Init_FileNotFound);
        NAME_OF(VRInitError_Init_InterfaceNotFound);
        NAME_OF(VRInitError_Init_NoLogPath);
        NAME_OF(VRInitError_Init_PathRegistryNotWritable);
        NAME_OF(VRInitError_Init_SettingsInitFailed);
    }
    return "VRInitError_Unknown";
}

const char* applicationErrorName(EVRApplicationError error) {
    switch (error) {
        NAME_OF(VRApplicationError_None);
        NAME_OF(VRApplicationError_UnknownApplication);
        NAME_OF(VRApplicationError_IPCFailed);
        NAME_OF(VRApplicationError_InvalidManifest);
        NAME_OF(VRApplicationError_InvalidApplication);
        NAME_OF(VRApplicationError_InvalidParameter);
    }
    return "VRApplicationError_Unknown";
}

const char* overlayErrorName(EVROverlayError error) {
    switch (error) {
        NAME_OF(VROverlayError_None);
        NAME_OF(VROverlayError_UnknownOverlay);
        NAME_OF(VROverlayError_KeyInUse);
        NAME_OF(VROverlayError_InvalidTrackedDevice);
        NAME_OF(VROverlayError_InvalidParameter);
        NAME_OF(VROverlayError_InvalidTexture);
    }
    return "VROverlayError_Unknown";
}

const char* eventTypeName(std::uint32_t eventType) {
    switch (static_cast<EVREventType>(eventType)) {
        NAME_OF(VREvent_None);
        NAME_OF(VREvent_TrackedDeviceActivated);
        NAME_OF(VREvent_TrackedDeviceDeactivated);
        NAME_OF(VREvent_TrackedDeviceRoleChanged);
        NAME_OF(VREvent_MouseMove);
        NAME_OF(VREvent_MouseButtonDown);
        NAME_OF(VREvent_MouseButtonUp);
        NAME_OF(VREvent_ScrollDiscrete);
        NAME_OF(VREvent_ScrollSmooth);
        NAME_OF(VREvent_OverlayShown);
        NAME_OF(VREvent_OverlayHidden);
        NAME_OF(VREvent_DashboardActivated);
        NAME_OF(VREvent_DashboardDeactivated);
        NAME_OF(VREvent_Quit);
    }
    return "Unknown VREvent";
}
