#include "vr/toast_overlay.h"

#include "config/settings.h"
#include "platform/log.h"
#include "vr/watch_placement.h"

namespace {

constexpr float toastWidthInMeters = 0.10f;
constexpr float toastHeightInMeters = toastWidthInMeters / 2;  // the image is twice as wide as high

}  // namespace

ToastOverlay::ToastOverlay(VrRuntime& runtime, GLuint toastTexture) {
    if (toastTexture == 0) return;
    quad = runtime.addWristQuad("toast", "Horlox Notifications", toastTexture, toastWidthInMeters);
    if (!quad) logMessage("The runtime made no overlay for notifications; none are shown");
}

void ToastOverlay::place(const Settings& settings, ControllerId watchController) {
    if (placedOn == watchController && onRightHand == settings.watchOnRightHand && fit == settings.placement)
        return;
    if (!quad->placeOn(watchController,
                       toastPlacement(settings.watchOnRightHand, settings.placement, toastHeightInMeters)))
        return;
    placedOn = watchController;
    onRightHand = settings.watchOnRightHand;
    fit = settings.placement;
}

void ToastOverlay::update(const Settings& settings, ControllerId watchController, float shownAlpha,
                          bool newImage) {
    if (!quad) return;
    imagePending |= newImage;
    const bool canShow = shownAlpha > 0 && settings.notifications.shown && settings.watchEnabled &&
                         settings.watchVisibility != WatchVisibility::Off && watchController != noController;
    if (!canShow) {
        if (shown) quad->hide();
        shown = false;
        return;
    }
    if (imagePending) quad->setImage();
    imagePending = false;
    place(settings, watchController);
    if (shownAlpha != alpha && quad->setAlpha(shownAlpha)) alpha = shownAlpha;
    if (!shown) quad->show();
    shown = true;
}
