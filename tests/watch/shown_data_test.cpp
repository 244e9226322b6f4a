// What hands and texts show besides the local time: batteries and zones.
#include <gtest/gtest.h>

#include "watch/battery_text.h"
#include "watch/time_format.h"
#include "watch/time_zone.h"

namespace {

TEST(BatteryTextTest, ShowsTheChargeOnlyForDevicesThatReportOne) {
    const struct {
        BatteryStatus battery;
        const char* format;
        const char* mark;
        const char* shown;
    } cases[] = {
        {{true, true, 1.0f, false}, "%c%%%+", "+", "100%"},
        {{true, true, 0.0f, false}, "L %c%%", "+", "L 0%"},
        {{true, true, 0.15f, true}, "%c%%%+", "+", "15%+"},
        {{true, true, 0.996f, true}, "%c %+|%x%", " CHG", "100  CHG|%x%"},
        {{false, false, 0.0f, false}, "%c%%", "+", ""},  // absent
        {{true, false, 0.0f, false}, "%c%%", "+", ""},   // reports no battery
    };
    for (const auto& test : cases)
        EXPECT_EQ(formatBattery(test.format, test.battery, test.mark), test.shown) << test.format;
}

TEST(TimeZoneTest, ClocksOfAZoneFollowItsDaylightSavingChanges) {
    const struct {
        const char* zone;
        std::time_t instant;
        const char* shown;
    } cases[] = {
        // Instants in seconds since 1970 UTC, around the changes of 2026.
        {"Europe/Berlin", 1774745999, "Sun 088 01:59:59 CET +0100"},
        {"Europe/Berlin", 1774746000, "Sun 088 03:00:00 CEST +0200"},
        {"Europe/Berlin", 1792890000, "Sun 298 02:00:00 CET +0100"},
        {"America/New_York", 1772953199, "Sun 067 01:59:59 EST -0500"},
        {"America/New_York", 1772953200, "Sun 067 03:00:00 EDT -0400"},
        {"Asia/Kolkata", 1767225600, "Thu 001 05:30:00 IST +0530"},
    };
    for (const auto& test : cases) {
        const TimeZone* zone = findTimeZone(test.zone);
        ASSERT_TRUE(zone) << test.zone;
        const ZonedTime zoned = timeInZone(*zone, test.instant);
        EXPECT_EQ(formatTimeInZone("%a %j %H:%M:%S %Z %z", zoned.time, zoned.abbreviation,
                                   zoned.utcOffsetSeconds),
                  test.shown);
    }
    for (const char* unknown : {"Mars/Olympus_Mons", "", "../../../etc/passwd", "europe/berlin"})
        EXPECT_FALSE(findTimeZone(unknown)) << unknown;
}

}  // namespace
