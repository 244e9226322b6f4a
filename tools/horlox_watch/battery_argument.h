#pragma once

#include <optional>
#include <string>

#include "watch/battery_status.h"

// The batteries that `render --battery` gives, as in
// "left=0.8,right=0.15+charging,hmd=absent": each device at most once, its
// charge from 0 to 1 with "+charging" while it charges, or "absent".
// Devices not named are absent. None, with `error` set, for anything else.
std::optional<DeviceBatteries> parseBatteryArgument(const std::string& text, std::string& error);
