#include "vr/simulated/call_text.h"

#include <cstdarg>
#include <cstdio>

#include "platform/log.h"

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
        NAME_OF(VRInitError_Init_NoServerForBackgroundApp);
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
        NAME_OF(VREvent_PropertyChanged);
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

const char* trackedPropertyName(ETrackedDeviceProperty prop) {
    switch (prop) {
        NAME_OF(Prop_DeviceIsCharging_Bool);
        NAME_OF(Prop_DeviceBatteryPercentage_Float);
        NAME_OF(Prop_DeviceProvidesBatteryStatus_Bool);
    }
    return "unknown ETrackedDeviceProperty";
}

const char* trackedPropertyErrorName(ETrackedPropertyError error) {
    switch (error) {
        NAME_OF(TrackedProp_Success);
        NAME_OF(TrackedProp_WrongDataType);
        NAME_OF(TrackedProp_UnknownProperty);
        NAME_OF(TrackedProp_InvalidDevice);
    }
    return "TrackedProp_Unknown";
}

std::string formatted(const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

std::string quoted(const char* text) {
    if (!text) return "null";
    std::string quoted = "\"";
    for (const char* c = text; *c; ++c)
        quoted += static_cast<unsigned char>(*c) < 0x20 ? '?' : *c;
    return quoted + "\"";
}

std::string describeMatrix(const HmdMatrix34_t* matrix) {
    if (!matrix) return "null";
    std::string text = "[";
    for (int row = 0; row < 3; ++row)
        text += formatted("%s%.7g %.7g %.7g %.7g", row ? "; " : "", matrix->m[row][0],
                          matrix->m[row][1], matrix->m[row][2], matrix->m[row][3]);
    return text + "]";
}

std::string describePoses(const TrackedDevicePose_t* poses, std::uint32_t count) {
    if (!poses) return "null";
    std::string text;
    for (std::uint32_t device = 0; device < count; ++device) {
        const TrackedDevicePose_t& pose = poses[device];
        text += formatted("%s%u ", device ? ", " : "", device);
        text += !pose.bDeviceIsConnected ? "off"
                : pose.bPoseIsValid      ? describeMatrix(&pose.mDeviceToAbsoluteTracking)
                                         : "lost";
    }
    return text;
}

std::string describeEvent(const VREvent_t& event) {
    std::string text = formatted("%s, device %u", eventTypeName(event.eventType),
                                 event.trackedDeviceIndex);
    switch (event.eventType) {
        case VREvent_MouseMove:
        case VREvent_MouseButtonDown:
        case VREvent_MouseButtonUp:
            return text + formatted(", mouse %.7g %.7g button %u", event.data.mouse.x,
                                    event.data.mouse.y, event.data.mouse.button);
        case VREvent_ScrollDiscrete:
        case VREvent_ScrollSmooth:
            return text + formatted(", scroll %.7g %.7g", event.data.scroll.xdelta,
                                    event.data.scroll.ydelta);
        case VREvent_PropertyChanged:
            return text + ", " + trackedPropertyName(event.data.property.prop);
        default:
            return text;
    }
}

void reportSimulatorFault(const std::string& fault) {
    logMessage("Simulated VR runtime: %s", fault.c_str());
}
