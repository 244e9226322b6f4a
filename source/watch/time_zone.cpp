#include "watch/time_zone.h"

#include <chrono>
#include <exception>

#include <date/tz.h>

namespace {

using std::chrono::seconds;

date::local_seconds localFields(const std::tm& time) {
    const date::year_month_day day =
        date::year{time.tm_year + 1900} / (time.tm_mon + 1) / time.tm_mday;
    return date::local_days{day} + std::chrono::hours{time.tm_hour} +
           std::chrono::minutes{time.tm_min} + seconds{time.tm_sec};
}

}  // namespace

const TimeZone* findTimeZone(const std::string& name) {
    // The library throws for unknown names and for a database it cannot read.
    try {
        return date::locate_zone(name);
    } catch (const std::exception&) {
        return nullptr;
    }
}

ZonedTime timeInZone(const TimeZone& zone, std::time_t instant) {
    const date::sys_seconds moment{seconds{instant}};
    const date::sys_info info = zone.get_info(moment);
    const date::local_seconds local{(moment + info.offset).time_since_epoch()};
    const date::local_days day = date::floor<date::days>(local);
    const date::year_month_day calendar{day};
    const date::hh_mm_ss<seconds> clock{local - day};

    ZonedTime zoned;
    std::tm& time = zoned.time;
    time.tm_year = int(calendar.year()) - 1900;
    time.tm_mon = int(unsigned(calendar.month())) - 1;
    time.tm_mday = int(unsigned(calendar.day()));
    time.tm_hour = int(clock.hours().count());
    time.tm_min = int(clock.minutes().count());
    time.tm_sec = int(clock.seconds().count());
    time.tm_wday = int(date::weekday{day}.c_encoding());
    time.tm_yday = int((day - date::local_days{calendar.year() / 1 / 1}).count());
    time.tm_isdst = info.save != std::chrono::minutes{0};
    zoned.abbreviation = info.abbrev;
    zoned.utcOffsetSeconds = long(info.offset.count());
    return zoned;
}

std::optional<std::time_t> instantOfZoneTime(const TimeZone& zone, const std::tm& time) {
    const date::local_seconds local = localFields(time);
    const date::local_info info = zone.get_info(local);
    if (info.result == date::local_info::nonexistent) return std::nullopt;
    return std::time_t((local.time_since_epoch() - info.first.offset).count());
}
