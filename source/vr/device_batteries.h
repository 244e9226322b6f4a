#pragma once

#include <chrono>

#include "vr/vr_context.h"

// The batteries of the headset and of the controllers in either hand, as the
// watch shows them. Read in the pass's event stage, never while drawing.

// Each device's presence, whether it reports a battery, its charge and
// whether it charges. A device that cannot say stays without a battery.
DeviceBatteries readDeviceBatteries(VrRuntime& runtime);

// Whether the event may change what the batteries read: a device came, went
// or changed hands, or one of its properties changed.
bool changesBatteries(const VREvent_t& event);

// Not every runtime tells of a draining battery: readings are taken anew
// this often.
constexpr std::chrono::seconds batteryReadingPeriod{30};

// Reads the batteries again when an event asked for it, or when the last
// reading is batteryReadingPeriod old.
// True when what they show changed.
bool refreshBatteries(VrContext& vr, std::chrono::steady_clock::time_point now);
