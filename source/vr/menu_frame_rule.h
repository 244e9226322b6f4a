#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the menu shows that can change without its input.
struct MenuLook {
    bool watchEnabled = true;
    bool watchOnRightHand = false;
    std::string watchName;
    // Watch images handed over so far: the menu's picture of the watch is
    // stale once another one is.
    std::uint64_t watchImages = 0;
    std::uint32_t width = 0, height = 0;  // the size the menu is drawn at

    bool operator==(const MenuLook& other) const;
    bool operator!=(const MenuLook& other) const { return !(*this == other); }
};

// Whether a pass in which the dashboard shows the menu draws it anew. Drawing
// 1280 x 1280 pixels and handing them over in every pass would cost as much
// as the rest of the program together, for a menu that mostly stands still:
// it is drawn when the dashboard begins to show it, in a pass that brought
// input, when its look changes, and in the few passes after input in which
// ImGui settles hover and active states.
class MenuFrameRule {
public:
    // Called once in each pass in which the menu can be seen; true when this
    // pass draws it, which the rule then counts as drawn with that look.
    bool frameDue(bool broughtInput, const MenuLook& look);
    // The dashboard stopped showing the menu: its next showing draws it.
    void menuHidden();

private:
    std::optional<MenuLook> drawnLook;
    int framesLeft = 0;  // frames still due after input
};
