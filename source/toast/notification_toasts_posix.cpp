#include "toast/notification_toasts.h"

#include "gl/render_target.h"
#include "notifications/notification_center.h"
#include "notifications/toast_queue.h"
#include "toast/toast_painter.h"

namespace {

NotificationSwitches switchesFor(const Settings& settings) {
    const NotificationChoices& chosen = settings.notifications;
    return {chosen.shown, chosen.fromDesktop, chosen.fromXsOverlay, chosen.fromOvrToolkit};
}

}  // namespace

struct NotificationToasts::Listeners {
    Listeners(const Settings& settings, FontChain* fonts)
        : center(createNotificationCenter(switchesFor(settings))),
          applied(settings.notifications),
          painter(fonts),
          target(createRenderTarget(toastWidth, toastHeight)) {}

    NotificationCenterPointer center;
    NotificationChoices applied;
    ToastPainter painter;
    RenderTarget target;
    // Which toast the image shows, and how many notifications it stood for.
    std::uint64_t paintedSerial = 0;
    int paintedCount = 0;
};

NotificationToasts::NotificationToasts(const Settings& settings, FontChain* fonts)
    : listeners(std::make_unique<Listeners>(settings, fonts)) {}

NotificationToasts::~NotificationToasts() = default;

NotificationToasts::Shown NotificationToasts::serve(const Settings& settings,
                                                    std::chrono::steady_clock::time_point now) {
    Listeners& own = *listeners;
    if (settings.notifications != own.applied) {
        setNotificationSwitches(*own.center, switchesFor(settings));
        own.applied = settings.notifications;
    }
    serviceNotificationListeners(*own.center, now);
    // A toast's time counts from when it shows, after however long the
    // listeners took.
    const ToastView view = currentNotificationToast(*own.center, std::chrono::steady_clock::now());
    if (!view.toast) return {};
    Shown shown{view.alpha, view.alpha < 1, false};
    if (view.toast->serial != own.paintedSerial || view.toast->count != own.paintedCount) {
        own.painter.paint(*view.toast, own.target);
        own.paintedSerial = view.toast->serial;
        own.paintedCount = view.toast->count;
        shown.newImage = true;
    }
    return shown;
}

const RenderTarget* NotificationToasts::image() const { return &listeners->target; }

NotificationToasts::Wait NotificationToasts::wait(std::chrono::steady_clock::time_point now) const {
    NotificationWait listening = notificationWait(*listeners->center, now);
    return {std::move(listening.fds), listening.serveBy};
}
