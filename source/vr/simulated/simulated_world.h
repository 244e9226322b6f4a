#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "vr/openvr/openvr_api.h"

// Where an overlay was put: in the tracking universe, or following a device.
struct OverlayPlacement {
    bool absolute = false;
    std::int32_t originOrDevice = 0;  // tracking universe, or the device it follows
    HmdMatrix34_t transform{};
};

struct SimulatedOverlay {
    enum class Kind { Plain, Dashboard, Thumbnail };
    std::string key;
    std::string name;
    Kind kind = Kind::Plain;
    float widthInMeters = 1.0f;
    float alpha = 1.0f;
    std::uint32_t flags = 0;
    std::int32_t inputMethod = 0;
    std::optional<OverlayPlacement> placement;
    bool shown = false;
    std::optional<bool> lastVisibleAnswer;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> textureSize;
    std::deque<VREvent_t> events;
};

VREvent_t makeEvent(EVREventType type, TrackedDeviceIndex_t device = k_unTrackedDeviceIndexInvalid);

struct SimulatedBattery {
    float charge = 1.0f;
    bool charging = false;
};

// What a runtime keeps for its one client: the headset (device 0, always on)
// and tracked controllers with their roles, poses and batteries, the overlays
// with every property the client set, the system event queue and whether the
// dashboard is open. Every change the client would be told of becomes an event
// in its queue. It knows nothing of calls or logs.
class SimulatedWorld {
public:
    void switchControllerOn(TrackedDeviceIndex_t device, ETrackedControllerRole role);
    void switchControllerOff(TrackedDeviceIndex_t device);
    void changeControllerRole(TrackedDeviceIndex_t device, ETrackedControllerRole role);
    TrackedDeviceIndex_t controllerFor(ETrackedControllerRole role) const;

    // A device's battery, kept while the device is off; none: the device
    // reports no battery, as every device does at first.
    void setBattery(TrackedDeviceIndex_t device, std::optional<SimulatedBattery> battery);
    // A device's battery properties as the runtime answers them: the error
    // says whether `value` was set.
    ETrackedPropertyError boolProperty(TrackedDeviceIndex_t device, ETrackedDeviceProperty prop,
                                       bool& value) const;
    ETrackedPropertyError floatProperty(TrackedDeviceIndex_t device, ETrackedDeviceProperty prop,
                                        float& value) const;
    // A device is tracked where it was last put, until its tracking is lost.
    // Unplaced, the headset is 1.6 m up and a controller 1 m up and 30 cm
    // ahead, both upright and facing forward. A controller keeps its pose
    // while switched off.
    void placeDevice(TrackedDeviceIndex_t device, const HmdMatrix34_t& pose);
    void loseDevice(TrackedDeviceIndex_t device);
    // The poses of the first devices, at most one per possible device.
    void readPoses(TrackedDevicePose_t* poses, std::uint32_t count) const;

    void setDashboardOpen(bool open);
    void askToQuit();

    EVROverlayError addOverlay(const char* key, const char* name, SimulatedOverlay::Kind kind,
                               VROverlayHandle_t* handle);
    // A dashboard overlay and its thumbnail, keyed "<key>.thumbnail".
    EVROverlayError addDashboardOverlay(const char* key, const char* name,
                                        VROverlayHandle_t* mainOverlay,
                                        VROverlayHandle_t* thumbnailOverlay);
    SimulatedOverlay* find(VROverlayHandle_t handle);
    void setShown(SimulatedOverlay& overlay, bool shown);
    // Dashboard overlays can be seen only while the dashboard is open.
    bool isVisible(const SimulatedOverlay& overlay) const;
    // The laser mouse points at the dashboard overlay, and reaches it only
    // once the overlay takes mouse input.
    SimulatedOverlay* mouseTarget();

    std::deque<VREvent_t> systemEvents;

private:
    struct DevicePose {
        HmdMatrix34_t matrix{};
        bool tracked = true;
    };
    bool isPresent(TrackedDeviceIndex_t device) const;
    DevicePose poseOf(TrackedDeviceIndex_t device) const;

    std::map<TrackedDeviceIndex_t, ETrackedControllerRole> controllers;
    std::map<TrackedDeviceIndex_t, DevicePose> poses;
    std::map<TrackedDeviceIndex_t, SimulatedBattery> batteries;
    bool dashboardOpen = false;
    std::map<VROverlayHandle_t, SimulatedOverlay> overlays;
    VROverlayHandle_t nextHandle = 1;
    VROverlayHandle_t dashboardOverlay = k_ulOverlayHandleInvalid;
};
