#include "ui/menu_frame_rule.h"

namespace {

// ImGui settles hover and active states over the frames after the input that
// changed them, and a label changed by a click shows in the frame after.
constexpr int framesToSettle = 2;

bool differOnlyInPicture(const MenuLook& look, MenuLook drawn) {
    drawn.watchImages = look.watchImages;
    return look == drawn;
}

}  // namespace

bool MenuLook::operator==(const MenuLook& other) const {
    return watchEnabled == other.watchEnabled && watchOnRightHand == other.watchOnRightHand &&
           watchName == other.watchName && watchImages == other.watchImages &&
           width == other.width && height == other.height;
}

MenuFrame MenuFrameRule::frameDue(bool broughtInput, const MenuLook& look) {
    // This frame and those that settle after it.
    if (broughtInput || !drawnLook) framesLeft = 1 + framesToSettle;
    MenuFrame frame = MenuFrame::Whole;
    if (framesLeft > 0)
        --framesLeft;
    else if (look == *drawnLook)
        frame = MenuFrame::None;
    else if (differOnlyInPicture(look, *drawnLook))
        frame = MenuFrame::Picture;
    drawnLook = look;
    drewLastPass = frame != MenuFrame::None;
    return frame;
}

void MenuFrameRule::menuHidden() { drawnLook.reset(); }
