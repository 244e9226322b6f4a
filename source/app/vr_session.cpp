// The session on the wrist and in the dashboard.
#include "app/session.h"

#include <chrono>

#include "config/settings.h"
#include "gl/render_target.h"
#include "vr/device_batteries.h"
#include "vr/glance_tracking.h"
#include "vr/menu_overlay.h"
#include "vr/toast_overlay.h"
#include "vr/vr_connection.h"
#include "vr/watch_overlay.h"

namespace {

class VrSession : public Session {
public:
    VrSession(std::unique_ptr<VrRuntime> runtime, const Settings& settings, const RenderTarget& watchTarget,
              const RenderTarget& menuTarget, const RenderTarget* toastImage)
        : vr(startVr(std::move(runtime), settings, watchTarget, menuTarget)),
          menuTarget(menuTarget),
          watchTexture(watchTarget.colorTexture),
          waitAgain(settings.waitForRuntime) {
        createToastOverlay(vr, toastImage ? toastImage->colorTexture : 0);
    }

    PassStart beginPass(Settings& settings, const WatchCatalogue& catalogue) override {
        PassStart start;
        const TrackedDeviceIndex_t wornBefore = vr.watchDeviceIndex;
        start.quit = pumpSystemEvents(vr);
        if (start.quit) return start;
        // A controller that changed hands or went off takes the watch along
        // in this pass: placed anew with a fresh image on the controller now
        // in its hand, or hidden when there is none.
        start.watchChangedHands = vr.watchDeviceIndex != wornBefore;
        updateMenuOverlay(vr, settings, catalogue, menuTarget, watchTexture);
        drainWatchEvents(vr);
        start.glanceMoved = lookForGlance(vr, settings);
        return start;
    }

    bool batteriesChanged() override {
        return refreshBatteries(vr, std::chrono::steady_clock::now()) &&
               vr.watchDeviceIndex != k_unTrackedDeviceIndexInvalid;
    }

    const DeviceBatteries& batteries() const override { return vr.batteries; }

    bool watchImageNeeded(const Settings& settings) const override { return ::watchImageNeeded(vr, settings); }

    void watchDrawn(const Settings& settings) override {
        submitWatch(vr, settings);
        placeWatch(vr, settings);
    }

    void showToast(const Settings& settings, const NotificationToasts::Shown& toast, const RenderTarget*) override {
        updateToastOverlay(vr, settings, toast.alpha, toast.newImage);
    }

    // After the redraw, so that a watch coming into view shows a current image.
    void endPass(const Settings& settings, const PassStart& start) override {
        if (start.glanceMoved || start.watchChangedHands) showOrHideWatch(vr, settings);
    }

    void describeWait(const Settings& settings, LoopState& state) const override {
        state.runtimePaces = runtimePacesMainLoop(vr);
        state.menuShown = vr.menuShown;
        state.lastMenuInput = vr.lastMenuInput;
        state.watchingForGlance = settings.watchVisibility == WatchVisibility::WhenLookedAt &&
                                  settings.watchEnabled && vr.watchDeviceIndex != k_unTrackedDeviceIndexInvalid;
        state.glanceFading = vr.glance.alpha > 0 && vr.glance.alpha < 1;
        state.nextBatteryReading = vr.batteriesReadAt + batteryReadingPeriod;
    }

    bool leave() override {
        leaveVr(vr);
        return waitAgain;
    }

private:
    VrContext vr;
    const RenderTarget& menuTarget;
    const GLuint watchTexture;
    const bool waitAgain;
};

}  // namespace

std::unique_ptr<Session> createVrSession(std::unique_ptr<VrRuntime> runtime, const Settings& settings,
                                         const RenderTarget& watchTarget, const RenderTarget& menuTarget,
                                         const RenderTarget* toastImage) {
    return std::make_unique<VrSession>(std::move(runtime), settings, watchTarget, menuTarget, toastImage);
}
