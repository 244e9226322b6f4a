#include <gtest/gtest.h>

#include "watch/time_format.h"

namespace {

std::tm morning() {
    std::tm time{};
    time.tm_year = 121;  // 2021
    time.tm_mon = 0;
    time.tm_mday = 15;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 3;
    time.tm_wday = 5;
    return time;
}

TEST(TimeFormatTest, StandardConversionsInTheCLocale) {
    EXPECT_EQ(formatTime("%H:%M:%S", morning()), "09:05:03");
    EXPECT_EQ(formatTime("%d.%m.%Y %a %b", morning()), "15.01.2021 Fri Jan");
    EXPECT_EQ(formatTime("100%% %Y", morning()), "100% 2021");
    EXPECT_EQ(formatTime("Line1\\nLine2", morning()), "Line1\\nLine2");
    EXPECT_EQ(formatTime("", morning()), "");
}

TEST(TimeFormatTest, UnknownConversionsAreWrittenUnchanged) {
    EXPECT_EQ(formatTime("%Q", morning()), "%Q");
    EXPECT_EQ(formatTime("%H%", morning()), "09%");
    EXPECT_EQ(formatTime("%Ek %Oq %E", morning()), "%Ek %Oq %E");
    EXPECT_EQ(formatTime("%k%s", morning()), "%k%s");
}

}  // namespace
