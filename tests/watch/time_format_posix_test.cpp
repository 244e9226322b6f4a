// What glibc's strftime knows beyond C89: the E and O modifiers, and a "%c"
// of 24 characters.
#include <gtest/gtest.h>

#include "watch/time_format.h"

namespace {

std::tm morning() {
    std::tm time{};
    time.tm_year = 121;  // 2021
    time.tm_mday = 15;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 3;
    time.tm_wday = 5;
    return time;
}

TEST(TimeFormatOnPosix, ModifiedConversions) {
    EXPECT_EQ(formatTime("%Ey %OH %e", morning()), "21 09 15");
}

TEST(TimeFormatOnPosix, LongestExpansionsFit) {
    const std::string manyDates(30, 'c');
    std::string format;
    for (char c : manyDates) format += std::string("%") + c;  // 60 bytes of "%c"
    const std::string formatted = formatTime(format, morning());
    EXPECT_EQ(formatted.size(), 30u * 24);
}

}  // namespace
