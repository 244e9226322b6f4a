#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "watch/time_zone.h"
#include "watch/watch_renderer.h"

// The moment that `render` draws: a date and a time of day given on the
// command line.

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;  // 60 for a leap second
};

struct CalendarDate {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
};

// "HH:MM:SS" on the 24-hour clock, two digits each.
std::optional<ClockTime> parseClockTime(const std::string& text);

// "YYYY-MM-DD", a date that exists.
std::optional<CalendarDate> parseCalendarDate(const std::string& text);

CalendarDate today();

// The broken-down local time that the program's clock gives at that moment,
// weekday, day of the year and time zone included.
std::tm localTimeAt(const CalendarDate& date, const ClockTime& time);

// Today on the zone's clocks.
CalendarDate todayIn(const TimeZone& zone);

// What the watch shows at that date and time of day on the clocks of the
// local zone (the machine's own when null): the local time, and the instant
// that elements with zones of their own show. In a named zone a time that
// comes twice is taken the first time; none when its clocks skip the time.
std::optional<WatchReadings> readingsAt(const CalendarDate& date, const ClockTime& time,
                                        const TimeZone* localZone);
