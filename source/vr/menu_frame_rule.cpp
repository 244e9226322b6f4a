#include "vr/menu_frame_rule.h"

namespace {

// ImGui shows a press, a release or a hover a frame or two after the input
// that caused it; a label changed by a click shows in the frame after.
constexpr int framesToSettle = 2;

}  // namespace

bool MenuLook::operator==(const MenuLook& other) const {
    return watchEnabled == other.watchEnabled && watchOnRightHand == other.watchOnRightHand &&
           watchName == other.watchName && watchImages == other.watchImages &&
           width == other.width && height == other.height;
}

bool MenuFrameRule::frameDue(bool broughtInput, const MenuLook& look) {
    // This frame and those that settle after it.
    if (broughtInput || !drawnLook) framesLeft = 1 + framesToSettle;
    if (framesLeft == 0 && look == *drawnLook) return false;
    if (framesLeft > 0) --framesLeft;
    drawnLook = look;
    return true;
}

void MenuFrameRule::menuHidden() { drawnLook.reset(); }
