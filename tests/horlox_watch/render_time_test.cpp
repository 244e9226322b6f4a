#include <gtest/gtest.h>
#include <tuple>

#include "horlox_watch/render_time.h"

namespace {

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

}  // namespace
