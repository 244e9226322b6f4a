#include <gtest/gtest.h>

#include "horlox_watch/render_time.h"

namespace {

TEST(RenderTime, ClockTimesOnTheTwentyFourHourClock) {
    const std::optional<ClockTime> time = parseClockTime("23:59:60");
    ASSERT_TRUE(time);
    EXPECT_EQ(time->hour, 23);
    EXPECT_EQ(time->minute, 59);
    EXPECT_EQ(time->second, 60);
    EXPECT_TRUE(parseClockTime("00:00:00"));
    for (const char* wrong : {"24:00:00", "12:60:00", "12:00:61", "3:00:00", "03:00", "03:00:00 ",
                              "03-00-00", "0a:00:00", "+3:00:00", ""})
        EXPECT_FALSE(parseClockTime(wrong)) << wrong;
}

TEST(RenderTime, CalendarDatesThatExist) {
    const std::optional<CalendarDate> date = parseCalendarDate("2024-02-29");
    ASSERT_TRUE(date);
    EXPECT_EQ(date->year, 2024);
    EXPECT_EQ(date->month, 2);
    EXPECT_EQ(date->day, 29);
    EXPECT_TRUE(parseCalendarDate("2000-02-29"));
    for (const char* wrong : {"2023-02-29", "1900-02-29", "2024-04-31", "2024-13-01", "2024-00-10",
                              "2024-01-00", "0000-01-01", "24-01-01", "2024/01/01", "2024-1-01"})
        EXPECT_FALSE(parseCalendarDate(wrong)) << wrong;
}

TEST(RenderTime, LocalTimeCarriesTheWeekdayAndKeepsTheTimeOfDay) {
    const std::tm friday = localTimeAt({2024, 5, 17}, {3, 4, 5});
    EXPECT_EQ(friday.tm_year, 124);
    EXPECT_EQ(friday.tm_mon, 4);
    EXPECT_EQ(friday.tm_mday, 17);
    EXPECT_EQ(friday.tm_wday, 5);
    EXPECT_EQ(friday.tm_yday, 137);
    EXPECT_EQ(friday.tm_hour, 3);
    EXPECT_EQ(friday.tm_min, 4);
    EXPECT_EQ(friday.tm_sec, 5);

    const CalendarDate now = today();
    const std::tm local = localTimeAt(now, {0, 0, 0});
    EXPECT_EQ(local.tm_year + 1900, now.year);
    EXPECT_EQ(local.tm_mday, now.day);
}

}  // namespace
