#include <gtest/gtest.h>

#include "app/redraw_rule.h"
#include "config/settings.h"

namespace {

std::tm atSecond(int second) {
    std::tm time{};
    time.tm_sec = second;
    return time;
}

TEST(RedrawRuleTest, ANewSecondRedrawsOnlyWhileTheWatchCanBeSeen) {
    Settings vr;
    EXPECT_FALSE(shouldRedraw(vr, false, atSecond(1), atSecond(0)));
    EXPECT_TRUE(shouldRedraw(vr, true, atSecond(1), atSecond(0)));
    EXPECT_FALSE(shouldRedraw(vr, true, atSecond(0), atSecond(0)));

    Settings offline;
    offline.offline = true;
    EXPECT_TRUE(shouldRedraw(offline, false, atSecond(0), atSecond(59)));
    EXPECT_FALSE(shouldRedraw(offline, false, atSecond(59), atSecond(59)));
}

TEST(RedrawRuleTest, ARequestedRedrawHappensEvenUnseenInTheSameSecond) {
    Settings settings;
    settings.needsRedraw = true;
    EXPECT_TRUE(shouldRedraw(settings, false, atSecond(5), atSecond(5)));
}

TEST(RedrawRuleTest, OnlyTheSecondsAreCompared) {
    Settings offline;
    offline.offline = true;
    std::tm later = atSecond(5);
    later.tm_min = 1;
    EXPECT_FALSE(shouldRedraw(offline, false, later, atSecond(5)));
}

}  // namespace
