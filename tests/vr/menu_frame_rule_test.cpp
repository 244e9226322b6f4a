#include <gtest/gtest.h>

#include <functional>

#include "vr/menu_frame_rule.h"

namespace {

// What each pass draws: 'w' the whole menu, 'p' its picture, '.' nothing;
// an 'i' among the inputs is a pass that brought input.
std::string framesDrawn(MenuFrameRule& rule, const std::string& inputs, const MenuLook& look) {
    std::string drawn;
    for (char input : inputs) drawn += ".pw"[static_cast<int>(rule.frameDue(input == 'i', look))];
    return drawn;
}

TEST(MenuFrameRuleTest, ShowingAndInputDrawWithTheFramesThatSettleThenTheMenuRests) {
    MenuFrameRule rule;
    const MenuLook look;
    EXPECT_TRUE(rule.sizeMayHaveChanged());
    EXPECT_EQ(framesDrawn(rule, "......", look), "www...");
    EXPECT_FALSE(rule.sizeMayHaveChanged()) << "nothing handed over since it was asked";
    EXPECT_EQ(framesDrawn(rule, "i.....", look), "www...");
    EXPECT_EQ(framesDrawn(rule, "i.i.i....", look), "wwwwwww..") << "a moving laser";
    rule.menuHidden();
    EXPECT_TRUE(rule.sizeMayHaveChanged());
    EXPECT_EQ(framesDrawn(rule, "....", look), "www.") << "shown again";
}

TEST(MenuFrameRuleTest, EachChangeOfLookDrawsOneFrameANewWatchImageOnlyThePicture) {
    const std::pair<std::function<void(MenuLook&)>, std::string> changes[] = {
        {[](MenuLook& look) { look.watchEnabled = false; }, "w.."},
        {[](MenuLook& look) { look.watchOnRightHand = true; }, "w.."},
        {[](MenuLook& look) { look.watchName = "Beta"; }, "w.."},
        {[](MenuLook& look) { look.width = 640; }, "w.."},
        {[](MenuLook& look) { look.height = 640; }, "w.."},
        {[](MenuLook& look) { ++look.watchImages; }, "p.."},
        {[](MenuLook& look) { ++look.watchImages, look.watchEnabled = false; }, "w.."},
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        MenuFrameRule rule;
        MenuLook look;
        look.width = look.height = 1280;
        framesDrawn(rule, "....", look);
        changes[i].first(look);
        EXPECT_EQ(framesDrawn(rule, "...", look), changes[i].second) << "change " << i;
    }
}

}  // namespace
