// The entry point: start-up in a fixed order, then one single-threaded loop
// that serves events and redraws the watch whenever the clock's second changes.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "app/command_line.h"
#include "app/offline_window.h"
#include "app/redraw_rule.h"
#include "app/runtime_selection.h"
#include "app/wait_rule.h"
#include "config/settings.h"
#include "gl/context_bootstrap.h"
#include "gl/fixed_gl_state.h"
#include "gl/gl_diagnostics.h"
#include "gl/render_target.h"
#include "platform/clock.h"
#include "platform/debug_output.h"
#include "platform/instance_lock.h"
#include "platform/log.h"
#include "platform/program_arguments.h"
#include "platform/program_restart.h"
#include "platform/window.h"
#include "app/notification_toasts.h"
#include "ui/menu_gui.h"
#include "vr/device_batteries.h"
#include "vr/glance_tracking.h"
#include "vr/menu_overlay.h"
#include "vr/toast_overlay.h"
#include "vr/vr_connection.h"
#include "vr/watch_overlay.h"
#include "watch/watch_catalogue.h"
#include "watch/watch_renderer.h"

namespace {

constexpr GLsizei watchSize = 256;
// Relative on purpose: one Horlox per run directory.
constexpr char instanceLockFileName[] = "horlox.lock";

void redrawWatch(Settings& settings, WatchCatalogue& catalogue, const RenderTarget& watchTarget,
                 VrContext& vr, const WatchReadings& readings) {
    settings.needsRedraw = false;
    glBindFramebuffer(GL_FRAMEBUFFER, watchTarget.framebuffer);
    glViewport(0, 0, watchSize, watchSize);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawWatch(catalogue.load(settings.initialWatchName), readings, settings);
    if (!settings.offline) submitWatch(vr, settings);
}

// What the pass leaves for the wait after it.
LoopState loopStateOf(const VrContext& vr, const Settings& settings, bool watchSeen,
                      LoopClock::time_point now) {
    LoopState state;
    state.offline = settings.offline;
    state.runtimePaces = runtimePacesMainLoop(vr);
    state.menuShown = vr.menuShown;
    state.lastMenuInput = vr.lastMenuInput;
    state.watchingForGlance = settings.watchVisibility == WatchVisibility::WhenLookedAt &&
                              settings.watchEnabled &&
                              vr.watchDeviceIndex != k_unTrackedDeviceIndexInvalid;
    state.glanceFading = vr.glance.alpha > 0 && vr.glance.alpha < 1;
    if (watchSeen) {
        // The displayed second changes when the calendar clock's does.
        const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
        state.nextSecond = now + (std::chrono::seconds(1) - sinceEpoch % std::chrono::seconds(1));
    }
    if (!settings.offline) state.nextBatteryReading = vr.batteriesReadAt + batteryReadingPeriod;
    return state;
}

bool showsBatteries(WatchCatalogue& catalogue, const Settings& settings) {
    return showsBatteries(catalogue.load(settings.initialWatchName));
}

}  // namespace

int main(int argc, char** argv) {
    loggingEnabled = true;
    Settings settings;
    const std::vector<std::string> launchTokens = splitLaunchTokens(platform::launchCommandLine(argc, argv));
    const LaunchAction action = applyLaunchTokens(launchTokens, settings);
    if (action != LaunchAction::Run) {
        std::fputs((action == LaunchAction::ShowHelp ? helpText() : versionText()).c_str(), stdout);
        return 0;
    }
    // Before the GL context and the runtime, so that a second copy touches neither.
    const platform::InstanceLock lock = platform::lockInstance(instanceLockFileName);
    if (lock == platform::InstanceLock::HeldByAnother) {
        logMessage("Horlox is already running.");
        return 0;
    }
    if (lock == platform::InstanceLock::Unavailable)
        logMessage("The lock file %s cannot be used: a second Horlox here is not kept out", instanceLockFileName);
    std::unique_ptr<VrRuntime> runtime;
    if (!settings.offline) runtime = selectVrRuntime();
    // A run that waits for the runtime does so before it loads anything.
    if (!settings.offline && settings.waitForRuntime) waitForRuntime(runtime.get());

    platform::Window& window = bootstrapGlContext(settings.offline);
    OfflineWindow offlineWindow(window);
    const RenderTarget watchTarget = createRenderTarget(watchSize, watchSize);
    const RenderTarget menuTarget = createRenderTarget(menuSize, menuSize);

    static FT_Library freeType = nullptr;  // one for the process, never released
    if (FT_Init_FreeType(&freeType) != 0)
        platform::fatalExit("ERROR::FREETYPE: Could not init FreeType Library");
    const MenuGui menuGui = setUpMenuGui(freeType, "Roboto-Medium.ttf", "fonts");
    CHECK_GL_ERROR();
    FontChain* const outsideFonts = menuGui.outsideFonts.get();
    setFixedGlState();
    settings.load();
    WatchCatalogue catalogue(settings, freeType, "watches", outsideFonts);
    NotificationToasts toasts(settings, outsideFonts);

    // Empty while the watch shows nothing drawn since it came into view.
    std::optional<std::tm> lastDrawnTime;
    VrContext vr;
    if (!settings.offline) vr = startVr(std::move(runtime), settings, watchTarget, menuTarget);
    if (!settings.offline) createToastOverlay(vr, toasts.image() ? toasts.image()->colorTexture : 0);
    // Offline, whether the window shows a toast beside the watch.
    bool toastInWindow = false;

    // The runtime's quit request ends a VR run; closing the window ends an
    // offline one.
    while (platform::pumpWindowEvents(window)) {
        const TrackedDeviceIndex_t wornBefore = vr.watchDeviceIndex;
        if (!settings.offline && pumpSystemEvents(vr)) break;
        // A controller that changed hands or went off takes the watch along
        // in this pass: placed anew with a fresh image on the controller now
        // in its hand, or hidden when there is none.
        const bool watchChangedHands = vr.watchDeviceIndex != wornBefore;
        if (watchChangedHands) lastDrawnTime.reset();
        bool glanceMoved = false;
        if (!settings.offline) {
            updateMenuOverlay(vr, settings, catalogue, menuTarget, watchTarget.colorTexture);
            drainWatchEvents(vr);
            glanceMoved = lookForGlance(vr, settings);
        }
        const std::time_t instant = std::time(nullptr);
        const std::tm now = platform::localTimeAt(instant);
        const bool controllerTracked = vr.watchDeviceIndex != k_unTrackedDeviceIndexInvalid;
        // A changed battery shows at once, not with the next second, on a
        // watch that is seen and shows batteries.
        if (!settings.offline && refreshBatteries(vr, std::chrono::steady_clock::now()) &&
            controllerTracked && showsBatteries(catalogue, settings))
            settings.needsRedraw = true;
        const bool imageNeeded = watchImageNeeded(vr, settings);
        if (!watchCanBeSeen(settings, imageNeeded)) lastDrawnTime.reset();
        bool windowStale = false;
        if (shouldRedraw(settings, imageNeeded, now, lastDrawnTime)) {
            redrawWatch(settings, catalogue, watchTarget, vr,
                        WatchReadings{now, instant, nullptr, vr.batteries});
            lastDrawnTime = now;
            windowStale = true;
            if (!settings.offline) placeWatch(vr, settings);
        }
        const NotificationToasts::Shown toast = toasts.serve(settings, std::chrono::steady_clock::now());
        if (!settings.offline) updateToastOverlay(vr, settings, toast.alpha, toast.newImage);
        const bool toastShows = toast.alpha > 0 && settings.notifications.shown;
        windowStale |= toast.newImage || toastShows != toastInWindow;
        toastInWindow = toastShows;
        if (settings.offline && windowStale)
            offlineWindow.present(watchTarget, toastInWindow ? toasts.image() : nullptr);
        // After the redraw, so that a watch coming into view shows a current image.
        if (glanceMoved || watchChangedHands) showOrHideWatch(vr, settings);

        // Then the loop waits as long as the work allows.
        const LoopClock::time_point passEnd = LoopClock::now();
        LoopState state = loopStateOf(vr, settings, watchCanBeSeen(settings, imageNeeded), passEnd);
        state.toastFading = toast.fading;
        const NotificationToasts::Wait listeners = toasts.wait(passEnd);
        state.nextToastChange = listeners.serveBy;
        if (!state.runtimePaces)
            platform::waitForEvents(
                window, listeners.sockets, std::chrono::ceil<std::chrono::milliseconds>(loopWait(state, passEnd)));
    }
    if (!settings.offline) {
        leaveVr(vr);
        // Waiting again takes a fresh process: OpenVR's client library may
        // fail to connect a second time in the same one.
        if (settings.waitForRuntime) {
            platform::unlockInstance();
            platform::startAnew(argv);
            platform::fatalExit("Failed to start Horlox anew to wait for the VR runtime.");
        }
    }
    return 0;
}
