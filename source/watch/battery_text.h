#pragma once

#include <string>
#include <vector>

#include "watch/battery_status.h"

// The text of a battery element: its format with "%c" the charge in whole
// percent (0 to 100, rounded), "%+" the charging mark while the device
// charges and nothing otherwise, and "%%" a percent sign; every other byte,
// unknown conversions included, is copied as it is. Empty when the device is
// absent or reports no battery, so that the field stays blank.
std::string formatBattery(const std::string& format, const BatteryStatus& battery,
                          const std::string& chargingMark);

// The conversions of the format that formatBattery copies as they are, each
// with its '%' ("%d", or "%" for one at the end), in order.
std::vector<std::string> unknownBatteryConversions(const std::string& format);

// The mark that "%+" writes when a package names none.
constexpr char defaultChargingMark[] = "+";
