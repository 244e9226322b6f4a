#include "vr/device_batteries.h"

#include <cmath>

namespace {

BatteryStatus readBattery(VrRuntime& runtime, TrackedDeviceIndex_t device) {
    BatteryStatus battery;
    if (device >= k_unMaxTrackedDeviceCount) return battery;
    ETrackedPropertyError error = TrackedProp_Success;
    const bool provides =
        runtime.GetBoolTrackedDeviceProperty(device, Prop_DeviceProvidesBatteryStatus_Bool, &error);
    if (error == TrackedProp_InvalidDevice) return battery;
    battery.present = true;
    if (error != TrackedProp_Success || !provides) return battery;
    const float charge =
        runtime.GetFloatTrackedDeviceProperty(device, Prop_DeviceBatteryPercentage_Float, &error);
    if (error != TrackedProp_Success || !std::isfinite(charge)) return battery;
    battery.providesBattery = true;
    battery.charge = charge < 0.0f ? 0.0f : charge > 1.0f ? 1.0f : charge;
    const bool charging =
        runtime.GetBoolTrackedDeviceProperty(device, Prop_DeviceIsCharging_Bool, &error);
    battery.charging = error == TrackedProp_Success && charging;
    return battery;
}

}  // namespace

DeviceBatteries readDeviceBatteries(VrRuntime& runtime) {
    DeviceBatteries batteries;
    batteries.hmd = readBattery(runtime, k_unTrackedDeviceIndex_Hmd);
    batteries.leftHand = readBattery(
        runtime, runtime.GetTrackedDeviceIndexForControllerRole(TrackedControllerRole_LeftHand));
    batteries.rightHand = readBattery(
        runtime, runtime.GetTrackedDeviceIndexForControllerRole(TrackedControllerRole_RightHand));
    return batteries;
}

bool changesBatteries(const VREvent_t& event) {
    switch (event.eventType) {
        case VREvent_TrackedDeviceActivated:
        case VREvent_TrackedDeviceDeactivated:
        case VREvent_TrackedDeviceRoleChanged:
        case VREvent_PropertyChanged:
            return true;
        default:
            return false;
    }
}

bool refreshBatteries(VrContext& vr, std::chrono::steady_clock::time_point now) {
    if (!vr.batteriesStale && now - vr.batteriesReadAt < batteryReadingPeriod) return false;
    vr.batteriesStale = false;
    vr.batteriesReadAt = now;
    const DeviceBatteries batteries = readDeviceBatteries(*vr.runtime);
    if (batteries == vr.batteries) return false;
    vr.batteries = batteries;
    return true;
}
