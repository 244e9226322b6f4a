// The session in a desktop window, without a runtime.
#include "app/session.h"

#include "app/offline_window.h"
#include "config/settings.h"

namespace {

class OfflineSession : public Session {
public:
    OfflineSession(platform::Window& window, const RenderTarget& watchTarget)
        : window(window), watchTarget(watchTarget) {}

    PassStart beginPass(Settings&, const WatchCatalogue&) override { return {}; }
    bool batteriesChanged() override { return false; }
    const DeviceBatteries& batteries() const override { return noBatteries; }
    // The window always shows the watch.
    bool watchImageNeeded(const Settings&) const override { return true; }
    void watchDrawn(const Settings&) override { stale = true; }

    // The window shows the toast beside the watch, drawn again only when
    // what it shows changed.
    void showToast(const Settings& settings, const NotificationToasts::Shown& toast,
                   const RenderTarget* toastImage) override {
        const bool toastShows = toast.alpha > 0 && settings.notifications.shown;
        stale |= toast.newImage || toastShows != toastInWindow;
        toastInWindow = toastShows;
        if (stale) window.present(watchTarget, toastInWindow ? toastImage : nullptr);
        stale = false;
    }

    void endPass(const Settings&, const PassStart&) override {}
    void describeWait(const Settings&, LoopState& state) const override { state.offline = true; }
    bool leave() override { return false; }

private:
    OfflineWindow window;
    const RenderTarget& watchTarget;
    const DeviceBatteries noBatteries{};
    bool stale = false;
    bool toastInWindow = false;
};

}  // namespace

std::unique_ptr<Session> createOfflineSession(platform::Window& window, const RenderTarget& watchTarget) {
    return std::make_unique<OfflineSession>(window, watchTarget);
}
