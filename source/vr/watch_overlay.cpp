#include "vr/watch_overlay.h"

#include "config/settings.h"
#include "platform/log.h"
#include "vr/watch_placement.h"

Hand watchHand(const Settings& settings) { return settings.watchOnRightHand ? Hand::Right : Hand::Left; }

WatchOverlay::WatchOverlay(VrRuntime& runtime, std::unique_ptr<WristQuad> quad, ControllerId controller,
                           const Settings& settings)
    : runtime(runtime), quad(std::move(quad)), wornOn(controller), fitted(settings.placement) {}

void WatchOverlay::lookUpController(const Settings& settings) { wornOn = runtime.controllerIn(watchHand(settings)); }

void WatchOverlay::controllerGone(ControllerId gone) {
    if (gone == wornOn) wornOn = noController;
}

bool WatchOverlay::shows(const Settings& settings) const {
    if (wornOn == noController || !settings.watchEnabled) return false;
    switch (settings.watchVisibility) {
        case WatchVisibility::Always: return true;
        case WatchVisibility::WhenLookedAt: return glanceShowsWatch(glance);
        case WatchVisibility::Off: return false;
    }
    return false;
}

void WatchOverlay::showOrHide(const Settings& settings) {
    if (!shows(settings)) {
        quad->hide();
        return;
    }
    const float shown = settings.watchVisibility == WatchVisibility::WhenLookedAt ? glance.alpha : 1.0f;
    if (shown != alpha && quad->setAlpha(shown)) alpha = shown;
    quad->show();
}

void WatchOverlay::drawn(const Settings& settings) {
    if (shows(settings)) quad->setImage();
    ++images;
    place(settings);
}

void WatchOverlay::place(const Settings& settings) {
    if (!quad->placeOn(wornOn, watchPlacement(settings.watchOnRightHand, settings.placement)))
        logThrottled("The runtime did not place the watch on its controller");
}

void WatchOverlay::fit(const Settings& settings) {
    if (settings.placement == fitted) return;
    fitted = settings.placement;
    quad->setWidth(watchWidthInMeters(fitted));
    if (wornOn != noController) place(settings);
}

bool WatchOverlay::watchingForGlance(const Settings& settings) const {
    return settings.watchVisibility == WatchVisibility::WhenLookedAt && settings.watchEnabled &&
           wornOn != noController;
}

bool WatchOverlay::followGlance(Settings& settings) {
    const auto now = std::chrono::steady_clock::now();
    const float elapsedSeconds = std::chrono::duration<float>(now - lastLook).count();
    lastLook = now;

    GlanceState next;
    if (watchingForGlance(settings)) {
        const VrRuntime::Located located = runtime.locate(wornOn);
        next = ::followGlance(located.headset, located.controller,
                              watchPlacement(settings.watchOnRightHand, settings.placement), glance, elapsedSeconds);
    }
    if (glanceShowsWatch(next) && !glanceShowsWatch(glance)) settings.needsRedraw = true;
    const bool moved = next.alpha != glance.alpha;
    glance = next;
    return moved;
}
