// What texts show: the time, the time of a zone, or a battery's charge.
#include <gtest/gtest.h>
#include <cmath>
#include <tuple>

#include "watch/battery_text.h"
#include "watch/time_format.h"
#include "watch/time_zone.h"

namespace {

// Standard conversions in the C locale; unknown ones are written unchanged.
TEST(TimeFormatTest, ConversionsOfCsStrftimeAndNoOthers) {
    std::tm morning{};
    morning.tm_year = 121, morning.tm_mon = 0, morning.tm_mday = 15, morning.tm_wday = 5;
    morning.tm_hour = 9, morning.tm_min = 5, morning.tm_sec = 3;
    const std::pair<std::string, std::string> formats[] = {
        {"%H:%M:%S", "09:05:03"}, {"%d.%m.%Y %a %b", "15.01.2021 Fri Jan"}, {"100%% %Y", "100% 2021"},
        {"Line1\\nLine2", "Line1\\nLine2"}, {"", ""}, {"%Q", "%Q"}, {"%H%", "09%"}, {"%Ek %Oq %E", "%Ek %Oq %E"},
        {"%k%s", "%k%s"}};
    for (const auto& [format, text] : formats) EXPECT_EQ(formatTime(format, morning), text) << format;
}

// Instants in seconds since 1970 UTC, around the changes of 2026.
TEST(TimeZoneTest, ClocksOfAZoneFollowItsDaylightSavingChanges) {
    const std::tuple<const char*, std::time_t, const char*> cases[] = {
        {"Europe/Berlin", 1774745999, "Sun 088 01:59:59 CET +0100"},
        {"Europe/Berlin", 1774746000, "Sun 088 03:00:00 CEST +0200"},
        {"Europe/Berlin", 1792890000, "Sun 298 02:00:00 CET +0100"},
        {"America/New_York", 1772953199, "Sun 067 01:59:59 EST -0500"},
        {"America/New_York", 1772953200, "Sun 067 03:00:00 EDT -0400"},
        {"Asia/Kolkata", 1767225600, "Thu 001 05:30:00 IST +0530"}};
    for (const auto& [name, instant, shown] : cases) {
        const TimeZone* zone = findTimeZone(name);
        ASSERT_TRUE(zone) << name;
        const ZonedTime zoned = timeInZone(*zone, instant);
        EXPECT_EQ(formatTimeInZone("%a %j %H:%M:%S %Z %z", zoned.time, zoned.abbreviation, zoned.utcOffsetSeconds),
                  shown);
    }
    for (const char* unknown : {"Mars/Olympus_Mons", "", "../../../etc/passwd", "europe/berlin"})
        EXPECT_FALSE(findTimeZone(unknown)) << unknown;
}

// Only devices that report a battery show a charge, in whole percent within 0
// to 100 whatever the runtime says.
TEST(BatteryTextTest, ShowsTheChargeOnlyForDevicesThatReportOne) {
    const std::tuple<BatteryStatus, const char*, const char*, const char*> cases[] = {
        {{true, true, 1.0f, false}, "%c%%%+", "+", "100%"},
        {{true, true, 0.0f, false}, "L %c%%", "+", "L 0%"},
        {{true, true, 0.15f, true}, "%c%%%+", "+", "15%+"},
        {{true, true, 0.996f, true}, "%c %+|%x%", " CHG", "100  CHG|%x%"},
        {{true, true, 1.5f, false}, "%c", "+", "100"}, {{true, true, -0.2f, false}, "%c", "+", "0"},
        {{true, true, NAN, false}, "%c", "+", "0"},
        {{false, false, 0.0f, false}, "%c%%", "+", ""},  // absent
        {{true, false, 0.0f, false}, "%c%%", "+", ""}};  // reports no battery
    for (const auto& [battery, format, mark, shown] : cases) EXPECT_EQ(formatBattery(format, battery, mark), shown);
}

}  // namespace
