#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the menu shows that can change without its input.
struct MenuLook {
    bool watchEnabled = true;
    bool watchOnRightHand = false;
    std::string watchName;
    // Watch images drawn so far: the menu's picture of the watch is stale
    // once another one is.
    std::uint64_t watchImages = 0;
    std::uint32_t width = 0, height = 0;  // the size the menu is drawn at

    bool operator==(const MenuLook& other) const;
    bool operator!=(const MenuLook& other) const { return !(*this == other); }
};

// How much of the menu a pass draws anew.
enum class MenuFrame {
    None,
    Picture,  // only the watch picture: all else looks as in the last frame
    Whole,
};

// Which passes, of those in which the dashboard shows the menu, draw it.
// Drawing 1280 x 1280 pixels and handing them over in every pass would cost
// more than the rest of the program together, for a menu that mostly stands
// still: it is drawn when the dashboard begins to show it, in a pass that
// brought input, in the few passes after in which ImGui settles hover and
// active states, and when its look changes; of a new watch image only the
// picture is drawn.
class MenuFrameRule {
public:
    // Called once in each pass in which the menu can be seen; what this pass
    // draws, which the rule then counts as drawn with that look.
    MenuFrame frameDue(bool broughtInput, const MenuLook& look);
    // The dashboard stopped showing the menu: its next showing draws it.
    void menuHidden();
    // Whether the overlay's texture may have another size than when last
    // asked: it changes only when a frame is handed over, and the runtime
    // may have dropped it while the menu was not shown.
    bool sizeMayHaveChanged() const { return !drawnLook || drewLastPass; }

private:
    std::optional<MenuLook> drawnLook;
    int framesLeft = 0;  // whole frames still due after input
    bool drewLastPass = false;
};
