#pragma once

#include <chrono>

#include "vr/runtime/vr_runtime.h"

// The batteries of the headset and of the controllers in either hand, as the
// watch shows them. Read in the pass's event stage, never while drawing.
class BatteryReadings {
public:
    // Not every runtime tells of a draining battery: readings are taken anew
    // this often.
    static constexpr std::chrono::seconds period{30};

    // A device came, went, changed hands or told of a change: read again.
    void markStale() { stale = true; }

    // Reads the batteries again when marked, or when the last reading is a
    // period old. True when what they show changed.
    bool refresh(VrRuntime& runtime, std::chrono::steady_clock::time_point now);

    const DeviceBatteries& batteries() const { return last; }
    std::chrono::steady_clock::time_point nextReading() const { return readAt + period; }

private:
    DeviceBatteries last;
    bool stale = true;
    std::chrono::steady_clock::time_point readAt;
};
