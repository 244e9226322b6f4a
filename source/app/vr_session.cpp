// The session on the wrist and in the dashboard.
#include "app/session.h"

#include <chrono>

#include "config/settings.h"
#include "gl/render_target.h"
#include "vr/battery_readings.h"
#include "vr/menu_overlay.h"
#include "vr/toast_overlay.h"
#include "vr/vr_connection.h"
#include "vr/watch_overlay.h"

namespace {

class VrSession : public Session {
public:
    VrSession(std::unique_ptr<VrRuntime> started, VrStarted overlays, const Settings& settings,
              const RenderTarget& menuTarget, GLuint watchTexture, const RenderTarget* toastImage)
        : runtime(std::move(started)),
          watch(*runtime, std::move(overlays.watch), overlays.watchController, settings),
          menu(std::move(overlays.menu)),
          toast(*runtime, toastImage ? toastImage->colorTexture : 0),
          menuTarget(menuTarget),
          watchTexture(watchTexture),
          waitAgain(settings.waitForRuntime) {}

    PassStart beginPass(Settings& settings, const WatchCatalogue& catalogue) override {
        PassStart start;
        runtime->beginPass();
        const ControllerId wornBefore = watch.controller();
        start.quit = followEvents(settings);
        if (start.quit) return start;
        // A controller that changed hands or went off takes the watch along
        // in this pass: placed anew with a fresh image on the controller now
        // in its hand, or hidden when there is none.
        start.watchChangedHands = watch.controller() != wornBefore;
        // A choice made in the menu reaches the runtime in the same pass.
        if (menu.update(settings, catalogue, menuTarget, watchTexture, watch.imagesDrawn())) {
            watch.lookUpController(settings);
            watch.showOrHide(settings);
            watch.fit(settings);
        }
        start.glanceMoved = watch.followGlance(settings);
        return start;
    }

    bool batteriesChanged() override {
        return readings.refresh(*runtime, std::chrono::steady_clock::now()) && watch.controller() != noController;
    }

    const DeviceBatteries& batteries() const override { return readings.batteries(); }

    // A watch nobody can see (off, disabled, waiting for a glance) costs no
    // redraws; the menu, while open, pictures it.
    bool watchImageNeeded(const Settings& settings) const override {
        return watch.controller() != noController && (watch.shows(settings) || menu.shown());
    }

    void watchDrawn(const Settings& settings) override { watch.drawn(settings); }

    void showToast(const Settings& settings, const NotificationToasts::Shown& shown, const RenderTarget*) override {
        toast.update(settings, watch.controller(), shown.alpha, shown.newImage);
    }

    // After the redraw, so that a watch coming into view shows a current image.
    void endPass(const Settings& settings, const PassStart& start) override {
        if (start.glanceMoved || start.watchChangedHands) watch.showOrHide(settings);
        runtime->endPass();
    }

    void describeWait(const Settings& settings, LoopState& state) const override {
        state.runtimePaces = runtime->pacesMainLoop();
        state.menuShown = menu.shown();
        state.lastMenuInput = menu.lastInput();
        state.watchingForGlance = watch.watchingForGlance(settings);
        state.glanceFading = watch.glanceFading();
        state.nextBatteryReading = readings.nextReading();
    }

    bool leave() override {
        runtime->leave();
        return waitAgain;
    }

private:
    // Drains the runtime's events, following the watch's controller as
    // devices come, go and change hands. True at the quit request: the
    // events behind it stay unpolled.
    bool followEvents(const Settings& settings) {
        RuntimeEvent event;
        while (runtime->nextEvent(event)) {
            if (event.kind == RuntimeEvent::Kind::Quit) return true;
            readings.markStale();
            if (event.kind == RuntimeEvent::Kind::ControllerCame) watch.lookUpController(settings);
            if (event.kind == RuntimeEvent::Kind::ControllerGone) watch.controllerGone(event.controller);
        }
        return false;
    }

    // The runtime outlives what it made.
    const std::unique_ptr<VrRuntime> runtime;
    WatchOverlay watch;
    MenuOverlay menu;
    ToastOverlay toast;
    BatteryReadings readings;
    const RenderTarget& menuTarget;
    const GLuint watchTexture;
    const bool waitAgain;
};

}  // namespace

std::unique_ptr<Session> createVrSession(std::unique_ptr<VrRuntime> runtime, const Settings& settings,
                                         const RenderTarget& watchTarget, const RenderTarget& menuTarget,
                                         const RenderTarget* toastImage) {
    VrStarted overlays = startVr(*runtime, settings, watchTarget, menuTarget);
    return std::make_unique<VrSession>(std::move(runtime), std::move(overlays), settings, menuTarget,
                                       watchTarget.colorTexture, toastImage);
}
