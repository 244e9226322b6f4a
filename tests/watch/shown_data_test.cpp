// What hands and texts show besides the local time: batteries and zones.
#include <gtest/gtest.h>

#include "watch/battery_text.h"
#include "watch/config_values.h"
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

TEST(GaugeArcTest, TakesTwoAnglesApartByAtMostATurn) {
    const std::optional<GaugeArc> arc = parseGaugeArc("-150,-30");
    ASSERT_TRUE(arc);
    EXPECT_NEAR(arc->empty, -2.618f, 1e-3);
    EXPECT_NEAR(arc->full, -0.5236f, 1e-3);
    EXPECT_TRUE(parseGaugeArc("360,0"));
    for (const char* bad : {"", "90", "90,90", "0,361", "a,90", "0,90x", "0;90", "nan,1", "0,inf"})
        EXPECT_FALSE(parseGaugeArc(bad)) << bad;
}

std::time_t utc(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    return timegm(&fields);
}

TEST(TimeZoneTest, ClocksOfAZoneFollowItsDaylightSavingChanges) {
    const struct {
        const char* zone;
        std::time_t instant;
        const char* shown;
    } cases[] = {
        {"Europe/Berlin", utc(2026, 3, 29, 0, 59, 59), "Sun 088 01:59:59 CET +0100"},
        {"Europe/Berlin", utc(2026, 3, 29, 1, 0, 0), "Sun 088 03:00:00 CEST +0200"},
        {"Europe/Berlin", utc(2026, 10, 25, 1, 0, 0), "Sun 298 02:00:00 CET +0100"},
        {"America/New_York", utc(2026, 3, 8, 6, 59, 59), "Sun 067 01:59:59 EST -0500"},
        {"America/New_York", utc(2026, 3, 8, 7, 0, 0), "Sun 067 03:00:00 EDT -0400"},
        {"Asia/Kolkata", utc(2026, 1, 1, 0, 0, 0), "Thu 001 05:30:00 IST +0530"},
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

TEST(TimeZoneTest, ZoneTimesThatComeTwiceOrNeverHaveTheirInstant) {
    const TimeZone* berlin = findTimeZone("Europe/Berlin");
    ASSERT_TRUE(berlin);
    std::tm twice{};
    twice.tm_year = 126, twice.tm_mon = 9, twice.tm_mday = 25, twice.tm_hour = 2, twice.tm_min = 30;
    EXPECT_EQ(instantOfZoneTime(*berlin, twice), utc(2026, 10, 25, 0, 30, 0));
    std::tm skipped = twice;
    skipped.tm_mon = 2, skipped.tm_mday = 29;
    EXPECT_FALSE(instantOfZoneTime(*berlin, skipped));
}

}  // namespace
