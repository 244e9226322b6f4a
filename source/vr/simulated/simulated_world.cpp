#include "vr/simulated/simulated_world.h"

#include <algorithm>

VREvent_t makeEvent(EVREventType type, TrackedDeviceIndex_t device) {
    VREvent_t event{};
    event.eventType = type;
    event.trackedDeviceIndex = device;
    return event;
}

void SimulatedWorld::switchControllerOn(TrackedDeviceIndex_t device, ETrackedControllerRole role) {
    controllers[device] = role;
    systemEvents.push_back(makeEvent(VREvent_TrackedDeviceActivated, device));
}

void SimulatedWorld::switchControllerOff(TrackedDeviceIndex_t device) {
    controllers.erase(device);
    systemEvents.push_back(makeEvent(VREvent_TrackedDeviceDeactivated, device));
}

void SimulatedWorld::changeControllerRole(TrackedDeviceIndex_t device,
                                          ETrackedControllerRole role) {
    if (controllers.count(device)) controllers[device] = role;
    systemEvents.push_back(makeEvent(VREvent_TrackedDeviceRoleChanged, device));
}

TrackedDeviceIndex_t SimulatedWorld::controllerFor(ETrackedControllerRole role) const {
    if (role == TrackedControllerRole_Invalid) return k_unTrackedDeviceIndexInvalid;
    for (const auto& [device, deviceRole] : controllers)
        if (deviceRole == role) return device;
    return k_unTrackedDeviceIndexInvalid;
}

void SimulatedWorld::setBattery(TrackedDeviceIndex_t device,
                                std::optional<SimulatedBattery> battery) {
    const auto old = batteries.find(device);
    const bool had = old != batteries.end();
    const SimulatedBattery before = had ? old->second : SimulatedBattery{};
    if (battery) batteries[device] = *battery;
    else batteries.erase(device);
    if (!isPresent(device)) return;
    // One event for each property that changed, as a driver's updates give.
    auto changed = [&](ETrackedDeviceProperty prop) {
        VREvent_t event = makeEvent(VREvent_PropertyChanged, device);
        event.data.property = {0, prop};
        systemEvents.push_back(event);
    };
    if (had != battery.has_value()) changed(Prop_DeviceProvidesBatteryStatus_Bool);
    if (battery && (!had || before.charge != battery->charge))
        changed(Prop_DeviceBatteryPercentage_Float);
    if (battery && (!had || before.charging != battery->charging))
        changed(Prop_DeviceIsCharging_Bool);
}

bool SimulatedWorld::isPresent(TrackedDeviceIndex_t device) const {
    return device == k_unTrackedDeviceIndex_Hmd || controllers.count(device) != 0;
}

ETrackedPropertyError SimulatedWorld::boolProperty(TrackedDeviceIndex_t device,
                                                   ETrackedDeviceProperty prop,
                                                   bool& value) const {
    if (!isPresent(device)) return TrackedProp_InvalidDevice;
    const auto battery = batteries.find(device);
    switch (prop) {
        case Prop_DeviceProvidesBatteryStatus_Bool:
            value = battery != batteries.end();
            return TrackedProp_Success;
        case Prop_DeviceIsCharging_Bool:
            if (battery == batteries.end()) return TrackedProp_UnknownProperty;
            value = battery->second.charging;
            return TrackedProp_Success;
        case Prop_DeviceBatteryPercentage_Float:
            return TrackedProp_WrongDataType;
    }
    return TrackedProp_UnknownProperty;
}

ETrackedPropertyError SimulatedWorld::floatProperty(TrackedDeviceIndex_t device,
                                                    ETrackedDeviceProperty prop,
                                                    float& value) const {
    if (!isPresent(device)) return TrackedProp_InvalidDevice;
    if (prop != Prop_DeviceBatteryPercentage_Float)
        return prop == Prop_DeviceProvidesBatteryStatus_Bool || prop == Prop_DeviceIsCharging_Bool
                   ? TrackedProp_WrongDataType
                   : TrackedProp_UnknownProperty;
    const auto battery = batteries.find(device);
    if (battery == batteries.end()) return TrackedProp_UnknownProperty;
    value = battery->second.charge;
    return TrackedProp_Success;
}

SimulatedWorld::DevicePose SimulatedWorld::poseOf(TrackedDeviceIndex_t device) const {
    auto found = poses.find(device);
    if (found != poses.end()) return found->second;
    const bool headset = device == k_unTrackedDeviceIndex_Hmd;
    return {{{{1, 0, 0, 0}, {0, 1, 0, headset ? 1.6f : 1.0f}, {0, 0, 1, headset ? 0 : -0.3f}}},
            true};
}

void SimulatedWorld::placeDevice(TrackedDeviceIndex_t device, const HmdMatrix34_t& pose) {
    poses[device] = {pose, true};
}

void SimulatedWorld::loseDevice(TrackedDeviceIndex_t device) {
    DevicePose pose = poseOf(device);
    pose.tracked = false;
    poses[device] = pose;
}

void SimulatedWorld::readPoses(TrackedDevicePose_t* out, std::uint32_t count) const {
    for (std::uint32_t device = 0; device < std::min(count, k_unMaxTrackedDeviceCount); ++device) {
        TrackedDevicePose_t& pose = out[device];
        pose = TrackedDevicePose_t{};
        pose.eTrackingResult = TrackingResult_Uninitialized;
        pose.bDeviceIsConnected = device == k_unTrackedDeviceIndex_Hmd || controllers.count(device);
        if (!pose.bDeviceIsConnected) continue;
        const DevicePose known = poseOf(device);
        pose.mDeviceToAbsoluteTracking = known.matrix;
        pose.bPoseIsValid = known.tracked;
        pose.eTrackingResult =
            known.tracked ? TrackingResult_Running_OK : TrackingResult_Running_OutOfRange;
    }
}

void SimulatedWorld::setDashboardOpen(bool open) {
    dashboardOpen = open;
    systemEvents.push_back(makeEvent(open ? VREvent_DashboardActivated : VREvent_DashboardDeactivated));
}

void SimulatedWorld::askToQuit() { systemEvents.push_back(makeEvent(VREvent_Quit)); }

EVROverlayError SimulatedWorld::addOverlay(const char* key, const char* name,
                                           SimulatedOverlay::Kind kind, VROverlayHandle_t* handle) {
    if (!key || !name || !handle || !*key) return VROverlayError_InvalidParameter;
    for (const auto& entry : overlays)
        if (entry.second.key == key) return VROverlayError_KeyInUse;
    *handle = nextHandle++;
    SimulatedOverlay& overlay = overlays[*handle];
    overlay.key = key;
    overlay.name = name;
    overlay.kind = kind;
    return VROverlayError_None;
}

EVROverlayError SimulatedWorld::addDashboardOverlay(const char* key, const char* name,
                                                    VROverlayHandle_t* mainOverlay,
                                                    VROverlayHandle_t* thumbnailOverlay) {
    if (!thumbnailOverlay) return VROverlayError_InvalidParameter;
    EVROverlayError error = addOverlay(key, name, SimulatedOverlay::Kind::Dashboard, mainOverlay);
    if (error != VROverlayError_None) return error;
    *thumbnailOverlay = nextHandle++;
    SimulatedOverlay& thumbnail = overlays[*thumbnailOverlay];
    thumbnail.key = std::string(key) + ".thumbnail";
    thumbnail.name = name;
    thumbnail.kind = SimulatedOverlay::Kind::Thumbnail;
    if (dashboardOverlay == k_ulOverlayHandleInvalid) dashboardOverlay = *mainOverlay;
    return VROverlayError_None;
}

SimulatedOverlay* SimulatedWorld::find(VROverlayHandle_t handle) {
    auto found = overlays.find(handle);
    return found == overlays.end() ? nullptr : &found->second;
}

void SimulatedWorld::setShown(SimulatedOverlay& overlay, bool shown) {
    if (overlay.shown == shown) return;
    overlay.shown = shown;
    overlay.events.push_back(makeEvent(shown ? VREvent_OverlayShown : VREvent_OverlayHidden));
}

bool SimulatedWorld::isVisible(const SimulatedOverlay& overlay) const {
    return overlay.shown && (overlay.kind == SimulatedOverlay::Kind::Plain || dashboardOpen);
}

SimulatedOverlay* SimulatedWorld::mouseTarget() {
    SimulatedOverlay* overlay = find(dashboardOverlay);
    return overlay && overlay->inputMethod == VROverlayInputMethod_Mouse ? overlay : nullptr;
}
