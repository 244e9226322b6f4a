#include "horlox_watch/render_time.h"

#include "platform/clock.h"

namespace {

// The number written with exactly `digits` decimal digits at `at`.
std::optional<int> digitsAt(const std::string& text, std::size_t at, std::size_t digits) {
    if (at + digits > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

}  // namespace

std::optional<ClockTime> parseClockTime(const std::string& text) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
    const std::optional<int> hour = digitsAt(text, 0, 2);
    const std::optional<int> minute = digitsAt(text, 3, 2);
    const std::optional<int> second = digitsAt(text, 6, 2);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 60)
        return std::nullopt;
    return ClockTime{*hour, *minute, *second};
}

std::optional<CalendarDate> parseCalendarDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const std::optional<int> year = digitsAt(text, 0, 4);
    const std::optional<int> month = digitsAt(text, 5, 2);
    const std::optional<int> day = digitsAt(text, 8, 2);
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1 ||
        *day > daysInMonth(*year, *month))
        return std::nullopt;
    return CalendarDate{*year, *month, *day};
}

CalendarDate today() {
    const std::tm now = platform::localTime();
    return {now.tm_year + 1900, now.tm_mon + 1, now.tm_mday};
}

std::tm localTimeAt(const CalendarDate& date, const ClockTime& time) {
    // The calendar fields come from noon of that day, which every time zone
    // has; the time of day is then set as given, so that no daylight-saving
    // change can move it.
    std::tm local{};
    local.tm_year = date.year - 1900;
    local.tm_mon = date.month - 1;
    local.tm_mday = date.day;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    std::mktime(&local);
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    return local;
}

CalendarDate todayIn(const TimeZone& zone) {
    const std::tm now = timeInZone(zone, std::time(nullptr)).time;
    return {now.tm_year + 1900, now.tm_mon + 1, now.tm_mday};
}

std::optional<WatchReadings> readingsAt(const CalendarDate& date, const ClockTime& time,
                                        const TimeZone* localZone) {
    WatchReadings readings;
    readings.localTime = localTimeAt(date, time);
    if (!localZone) {
        std::tm probe = readings.localTime;
        probe.tm_isdst = -1;
        readings.instant = std::mktime(&probe);
        return readings;
    }
    const std::optional<std::time_t> instant = instantOfZoneTime(*localZone, readings.localTime);
    if (!instant) return std::nullopt;
    readings.instant = *instant;
    readings.localZone = localZone;
    readings.localTime = timeInZone(*localZone, *instant).time;
    return readings;
}
