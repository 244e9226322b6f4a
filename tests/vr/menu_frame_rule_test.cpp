#include <gtest/gtest.h>

#include <functional>

#include "vr/menu_frame_rule.h"

namespace {

// '1' for each pass that draws the menu.
std::string framesDrawn(MenuFrameRule& rule, const std::string& inputs, const MenuLook& look) {
    std::string drawn;
    for (char input : inputs) drawn += rule.frameDue(input == 'i', look) ? '1' : '0';
    return drawn;
}

TEST(MenuFrameRuleTest, ShowingAndInputDrawWithTheFramesThatSettleThenTheMenuRests) {
    MenuFrameRule rule;
    const MenuLook look;
    EXPECT_EQ(framesDrawn(rule, "......", look), "111000");
    EXPECT_EQ(framesDrawn(rule, "i.....", look), "111000");
    EXPECT_EQ(framesDrawn(rule, "i.i.i....", look), "111111100") << "a moving laser";
    rule.menuHidden();
    EXPECT_EQ(framesDrawn(rule, "....", look), "1110") << "shown again";
}

TEST(MenuFrameRuleTest, EachChangeOfLookDrawsOneFrame) {
    const std::function<void(MenuLook&)> changes[] = {
        [](MenuLook& look) { look.watchEnabled = false; },
        [](MenuLook& look) { look.watchOnRightHand = true; },
        [](MenuLook& look) { look.watchName = "Beta"; },
        [](MenuLook& look) { ++look.watchImages; },
        [](MenuLook& look) { look.width = 640; },
        [](MenuLook& look) { look.height = 640; },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        MenuFrameRule rule;
        MenuLook look;
        look.width = look.height = 1280;
        framesDrawn(rule, "....", look);
        changes[i](look);
        EXPECT_EQ(framesDrawn(rule, "...", look), "100") << "change " << i;
    }
}

}  // namespace
