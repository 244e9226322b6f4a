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
#include "toast/notification_toasts.h"
#include "app/redraw_rule.h"
#include "app/runtime_selection.h"
#include "app/session.h"
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
#include "ui/menu_gui.h"
#include "vr/vr_connection.h"
#include "watch/watch_catalogue.h"
#include "watch/watch_renderer.h"

namespace {

constexpr GLsizei watchSize = 256;
// Relative on purpose: one Horlox per run directory.
constexpr char instanceLockFileName[] = "horlox.lock";

void redrawWatch(Settings& settings, WatchCatalogue& catalogue, const RenderTarget& watchTarget,
                 const WatchReadings& readings) {
    settings.needsRedraw = false;
    glBindFramebuffer(GL_FRAMEBUFFER, watchTarget.framebuffer);
    glViewport(0, 0, watchSize, watchSize);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawWatch(catalogue.load(settings.initialWatchName), readings, settings);
}

// What the pass leaves for the wait after it.
LoopState loopStateOf(const Session& session, const Settings& settings, bool watchSeen, LoopClock::time_point now) {
    LoopState state;
    session.describeWait(settings, state);
    if (watchSeen) {
        // The displayed second changes when the calendar clock's does.
        const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
        state.nextSecond = now + (std::chrono::seconds(1) - sinceEpoch % std::chrono::seconds(1));
    }
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
    if (!settings.offline && settings.waitForRuntime) waitForRuntime(*runtime);

    platform::Window& window = bootstrapGlContext(settings.offline);
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
    const std::unique_ptr<Session> session =
        settings.offline ? createOfflineSession(window, watchTarget)
                         : createVrSession(std::move(runtime), settings, watchTarget, menuTarget, toasts.image());

    // Empty while the watch shows nothing drawn since it came into view.
    std::optional<std::tm> lastDrawnTime;
    // The runtime's quit request ends a VR run; closing the window ends an
    // offline one.
    while (platform::pumpWindowEvents(window)) {
        const Session::PassStart start = session->beginPass(settings, catalogue);
        if (start.quit) break;
        if (start.watchChangedHands) lastDrawnTime.reset();
        const std::time_t instant = std::time(nullptr);
        const std::tm now = platform::localTimeAt(instant);
        // A changed battery shows at once, not with the next second, on a
        // watch that is worn and shows batteries.
        if (session->batteriesChanged() && showsBatteries(catalogue, settings)) settings.needsRedraw = true;
        const bool watchSeen = session->watchImageNeeded(settings);
        if (!watchSeen) lastDrawnTime.reset();
        if (shouldRedraw(settings, watchSeen, now, lastDrawnTime)) {
            redrawWatch(settings, catalogue, watchTarget, WatchReadings{now, instant, nullptr, session->batteries()});
            lastDrawnTime = now;
            session->watchDrawn(settings);
        }
        const NotificationToasts::Shown toast = toasts.serve(settings, std::chrono::steady_clock::now());
        session->showToast(settings, toast, toasts.image());
        session->endPass(settings, start);

        // Then the loop waits as long as the work allows.
        const LoopClock::time_point passEnd = LoopClock::now();
        LoopState state = loopStateOf(*session, settings, watchSeen, passEnd);
        state.toastFading = toast.fading;
        const NotificationToasts::Wait listeners = toasts.wait(passEnd);
        state.nextToastChange = listeners.serveBy;
        if (!state.runtimePaces)
            platform::waitForEvents(
                window, listeners.sockets, std::chrono::ceil<std::chrono::milliseconds>(loopWait(state, passEnd)));
    }
    // Waiting again takes a fresh process: OpenVR's client library may fail
    // to connect a second time in the same one.
    if (session->leave()) {
        platform::unlockInstance();
        platform::startAnew(argv);
        platform::fatalExit("Failed to start Horlox anew to wait for the VR runtime.");
    }
    return 0;
}
