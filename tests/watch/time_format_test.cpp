#include <gtest/gtest.h>

#include "watch/time_format.h"

namespace {

// Standard conversions in the C locale; unknown ones are written unchanged,
// and the longest expansions fit.
TEST(TimeFormatTest, ConversionsOfCsStrftimeAndNoOthers) {
    std::tm morning{};
    morning.tm_year = 121, morning.tm_mon = 0, morning.tm_mday = 15, morning.tm_wday = 5;
    morning.tm_hour = 9, morning.tm_min = 5, morning.tm_sec = 3;
    const std::pair<std::string, std::string> formats[] = {
        {"%H:%M:%S", "09:05:03"}, {"%d.%m.%Y %a %b", "15.01.2021 Fri Jan"}, {"100%% %Ey %OH", "100% 21 09"},
        {"Line1\\nLine2", "Line1\\nLine2"}, {"", ""}, {"%Q", "%Q"}, {"%H%", "09%"}, {"%Ek %Oq %E", "%Ek %Oq %E"},
        {"%k%s", "%k%s"}};
    for (const auto& [format, text] : formats) EXPECT_EQ(formatTime(format, morning), text) << format;
    std::string manyDates;
    for (int i = 0; i < 30; ++i) manyDates += "%c";  // 60 bytes
    EXPECT_EQ(formatTime(manyDates, morning).size(), 30u * 24);
}

}  // namespace
