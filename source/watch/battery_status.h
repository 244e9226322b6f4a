#pragma once

// What the VR runtime tells of one device's battery. Offline, and for devices
// that are not there, everything stays false: nothing is shown, never a
// made-up charge.
struct BatteryStatus {
    bool present = false;          // the device is connected
    bool providesBattery = false;  // it reports a battery at all
    float charge = 0.0f;           // 0 empty to 1 full
    bool charging = false;

    // Whether there is a charge to show.
    bool shown() const { return present && providesBattery; }

    bool operator==(const BatteryStatus& other) const {
        return present == other.present && providesBattery == other.providesBattery &&
               charge == other.charge && charging == other.charging;
    }
    bool operator!=(const BatteryStatus& other) const { return !(*this == other); }
};

// The devices whose batteries a watch can show.
enum class BatteryDevice { None, Hmd, LeftHand, RightHand };

struct DeviceBatteries {
    BatteryStatus hmd;
    BatteryStatus leftHand;
    BatteryStatus rightHand;

    // The status of the device; nothing shown for None.
    BatteryStatus of(BatteryDevice device) const {
        switch (device) {
            case BatteryDevice::Hmd: return hmd;
            case BatteryDevice::LeftHand: return leftHand;
            case BatteryDevice::RightHand: return rightHand;
            case BatteryDevice::None: break;
        }
        return {};
    }

    bool operator==(const DeviceBatteries& other) const {
        return hmd == other.hmd && leftHand == other.leftHand && rightHand == other.rightHand;
    }
    bool operator!=(const DeviceBatteries& other) const { return !(*this == other); }
};
