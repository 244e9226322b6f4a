#pragma once

#include <memory>

#include "toast/notification_toasts.h"
#include "app/wait_rule.h"
#include "watch/battery_status.h"

class VrRuntime;
class WatchCatalogue;
struct RenderTarget;
struct Settings;
namespace platform {
struct Window;
}

// Where the watch is shown: in VR on the wrist and in the dashboard, or
// offline in a desktop window. The main loop asks the same of both; each
// answers for its own world.
class Session {
public:
    virtual ~Session() = default;

    // What the pass's first stage found.
    struct PassStart {
        bool quit = false;               // the runtime asked the program to leave
        bool watchChangedHands = false;  // its controller came, went or swapped hands
        bool glanceMoved = false;        // the watch has to follow the glance
    };
    // Takes the events in: the runtime's, the menu's and the glance's.
    virtual PassStart beginPass(Settings& settings, const WatchCatalogue& catalogue) = 0;
    // Reads the batteries when due; true when a change should show at once
    // on a worn watch.
    virtual bool batteriesChanged() = 0;
    virtual const DeviceBatteries& batteries() const = 0;
    // Whether anybody can see the watch's image (see watchImageNeeded).
    virtual bool watchImageNeeded(const Settings& settings) const = 0;
    // The watch's image was drawn anew in this pass.
    virtual void watchDrawn(const Settings& settings) = 0;
    // The toast as this pass shows it, after the watch.
    virtual void showToast(const Settings& settings, const NotificationToasts::Shown& toast,
                           const RenderTarget* toastImage) = 0;
    // The pass's last stage, after the redraws.
    virtual void endPass(const Settings& settings, const PassStart& start) = 0;
    // Adds what this session knows to the wait after the pass.
    virtual void describeWait(const Settings& settings, LoopState& state) const = 0;
    // Ends the session; true when the program should start anew to wait
    // for the runtime again.
    virtual bool leave() = 0;
};

// The VR session over the runtime, started by startVr: the watch, the menu
// and the toast on it. A program started to wait for the runtime waits
// again after it quits.
std::unique_ptr<Session> createVrSession(std::unique_ptr<VrRuntime> runtime, const Settings& settings,
                                         const RenderTarget& watchTarget, const RenderTarget& menuTarget,
                                         const RenderTarget* toastImage);

// The desktop window that shows the watch and the toast beside it.
std::unique_ptr<Session> createOfflineSession(platform::Window& window, const RenderTarget& watchTarget);
