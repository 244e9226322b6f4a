#pragma once

#include <ctime>
#include <optional>
#include <string>

// Time zones of the system's tz database (IANA names such as "Asia/Tokyo"),
// read through the date library; the process's own zone (TZ) never changes.

namespace date {
class time_zone;
}
using TimeZone = date::time_zone;

// The zone of that name; null when the database has none, or cannot be read.
const TimeZone* findTimeZone(const std::string& name);

// A moment as the clocks of one zone show it.
struct ZonedTime {
    std::tm time{};            // weekday, day of the year and daylight saving included
    std::string abbreviation;  // such as "CEST"
    long utcOffsetSeconds = 0;
};

ZonedTime timeInZone(const TimeZone& zone, std::time_t instant);

// The instant at which the zone's clocks show that calendar time (the fields
// year to second); the earlier one when the time comes twice as the clocks
// go back, none when the clocks skip it.
std::optional<std::time_t> instantOfZoneTime(const TimeZone& zone, const std::tm& time);
