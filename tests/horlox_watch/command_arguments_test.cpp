// What the commands take from their command lines: options and operands, and
// render's time, date and batteries.
#include <gtest/gtest.h>
#include <tuple>

#include "horlox_watch/battery_argument.h"
#include "horlox_watch/render_time.h"
#include "horlox_watch/tool_arguments.h"

namespace {

const CommandOptions renderOptions = {{"--right-hand"}, {"--time", "-o"}};

TEST(ToolArguments, OptionsMayStandAnywhereAndDashDashEndsThem) {
    const ParsedArguments parsed = parseArguments(
        {"-o", "out.png", "Classic", "--right-hand", "--time", "03:00:00", "--", "-x", "--help"}, renderOptions);
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.operands, (std::vector<std::string>{"Classic", "-x", "--help"}));
    EXPECT_TRUE(parsed.has("--right-hand"));
    EXPECT_FALSE(parsed.has("--help"));
    EXPECT_EQ(parsed.values, (std::map<std::string, std::string>{{"-o", "out.png"}, {"--time", "03:00:00"}}));
    // A value is taken as it comes, even when it looks like an option.
    EXPECT_EQ(parseArguments({"-o", "--right-hand"}, renderOptions).values.at("-o"), "--right-hand");
    EXPECT_EQ(parseArguments({"-"}, renderOptions).operands, (std::vector<std::string>{"-"}));
    EXPECT_TRUE(parseArguments({"--help"}, {}).has("--help"));
}

TEST(RenderTime, ClockTimesOnTheTwentyFourHourClockAndDatesThatExist) {
    const std::optional<ClockTime> time = parseClockTime("23:59:60");
    ASSERT_TRUE(time);
    EXPECT_EQ(std::tie(time->hour, time->minute, time->second), std::make_tuple(23, 59, 60));
    const std::optional<CalendarDate> date = parseCalendarDate("2024-02-29");
    ASSERT_TRUE(date);
    EXPECT_EQ(std::tie(date->year, date->month, date->day), std::make_tuple(2024, 2, 29));
    EXPECT_TRUE(parseClockTime("00:00:00"));
    EXPECT_TRUE(parseCalendarDate("2000-02-29"));
    for (const char* wrong : {"24:00:00", "12:60:00", "12:00:61", "3:00:00", "03:00", "03:00:00 ", "03-00-00",
                              "0a:00:00", "+3:00:00", ""})
        EXPECT_FALSE(parseClockTime(wrong)) << wrong;
    for (const char* wrong : {"2023-02-29", "1900-02-29", "2024-04-31", "2024-13-01", "2024-00-10", "2024-01-00",
                              "0000-01-01", "24-01-01", "2024/01/01", "2024-1-01"})
        EXPECT_FALSE(parseCalendarDate(wrong)) << wrong;
}

TEST(RenderTime, LocalTimeCarriesTheWeekdayAndKeepsTheTimeOfDay) {
    const std::tm friday = localTimeAt({2024, 5, 17}, {3, 4, 5});
    EXPECT_EQ(std::tie(friday.tm_year, friday.tm_mon, friday.tm_mday, friday.tm_wday, friday.tm_yday),
              std::make_tuple(124, 4, 17, 5, 137));
    EXPECT_EQ(std::tie(friday.tm_hour, friday.tm_min, friday.tm_sec), std::make_tuple(3, 4, 5));
    const CalendarDate now = today();
    const std::tm local = localTimeAt(now, {0, 0, 0});
    EXPECT_EQ(std::tie(local.tm_year, local.tm_mday), std::make_tuple(now.year - 1900, now.day));
}

// A time that the zone's clocks show twice is taken the first time; one they skip is refused.
TEST(RenderTime, ZonedTimesComeOnceOrAreRefusedWhenSkipped) {
    const TimeZone* berlin = findTimeZone("Europe/Berlin");
    ASSERT_TRUE(berlin);
    const std::optional<WatchReadings> summer = readingsAt({2026, 7, 1}, {12, 0, 0}, berlin);
    ASSERT_TRUE(summer);
    EXPECT_EQ(std::tie(summer->instant, summer->localTime.tm_hour, summer->localZone),
              std::make_tuple(1782900000, 12, berlin));  // 10:00 UTC
    EXPECT_EQ(readingsAt({2026, 10, 25}, {2, 30, 0}, berlin)->instant, 1792888200);
    EXPECT_FALSE(readingsAt({2026, 3, 29}, {2, 30, 0}, berlin));
}

TEST(RenderBatteries, EachDeviceNamedOnceWithItsChargeOrAbsent) {
    std::string error;
    const std::optional<DeviceBatteries> batteries =
        parseBatteryArgument("left=0.8,right=0.15+charging,hmd=absent", error);
    ASSERT_TRUE(batteries) << error;
    EXPECT_EQ(*batteries, (DeviceBatteries{{}, {true, true, 0.8f, false}, {true, true, 0.15f, true}}));
    for (const char* bad : {"", "left", "left=", "left=1.5", "left=-0.1", "left=0.5+charge", "left=0.5,left=0.6",
                            "head=0.5", "left=0.5,", "left=nan", "left=1e0"}) {
        error.clear();
        EXPECT_FALSE(parseBatteryArgument(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

}  // namespace
