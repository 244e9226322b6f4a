#pragma once

#include <ctime>
#include <optional>

#include "watch/battery_status.h"
#include "watch/time_zone.h"
#include "watch/watch.h"

// What one drawing of the watch shows.
struct WatchReadings {
    std::tm localTime{};      // for elements without a zone of their own
    std::time_t instant = 0;  // the same moment, for elements with one
    // The zone of `localTime` when it is not the machine's own, as in a
    // preview of another place; elements without a zone then show its time,
    // abbreviation and offset. Null for the machine's zone.
    const TimeZone* localZone = nullptr;
    DeviceBatteries batteries;  // none shown unless a runtime reported them
};

// The time an element shows: that of its own zone or of the previewed local
// zone, or none when it shows the machine's local time.
std::optional<ZonedTime> elementZoneTime(const WatchElement& element, const WatchReadings& readings);
