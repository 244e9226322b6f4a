#include <gtest/gtest.h>

#include "watch/time_format.h"

namespace {

// What glibc's strftime knows beyond C89: the E and O modifiers, and a "%c"
// of 24 characters, whose longest expansions must fit.
TEST(TimeFormatOnPosix, ModifiedConversionsAndTheLongestExpansions) {
    std::tm morning{};
    morning.tm_year = 121, morning.tm_mon = 0, morning.tm_mday = 15, morning.tm_wday = 5;
    morning.tm_hour = 9, morning.tm_min = 5, morning.tm_sec = 3;
    EXPECT_EQ(formatTime("%Ey %OH %e", morning), "21 09 15");
    std::string manyDates;
    for (int i = 0; i < 30; ++i) manyDates += "%c";  // 60 bytes
    EXPECT_EQ(formatTime(manyDates, morning).size(), 30u * 24);
}

}  // namespace
