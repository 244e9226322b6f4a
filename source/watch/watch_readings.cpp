#include "watch/watch_readings.h"

std::optional<ZonedTime> elementZoneTime(const WatchElement& element, const WatchReadings& readings) {
    const TimeZone* zone = element.zone ? element.zone : readings.localZone;
    if (!zone) return std::nullopt;
    return timeInZone(*zone, readings.instant);
}
