#include "vr/battery_readings.h"

bool BatteryReadings::refresh(VrRuntime& runtime, std::chrono::steady_clock::time_point now) {
    if (!stale && now - readAt < period) return false;
    stale = false;
    readAt = now;
    const DeviceBatteries batteries = runtime.readBatteries();
    if (batteries == last) return false;
    last = batteries;
    return true;
}
