#pragma once

#include <ctime>
#include <optional>
#include <string>

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
