#include "app/notification_toasts.h"

#include "notifications/toast_queue.h"

namespace {

NotificationSwitches switchesFor(const Settings& settings) {
    const NotificationChoices& chosen = settings.notifications;
    return {chosen.shown, chosen.fromDesktop, chosen.fromXsOverlay, chosen.fromOvrToolkit};
}

}  // namespace

NotificationToasts::NotificationToasts(const Settings& settings, FontChain* fonts)
    : center(createNotificationCenter(switchesFor(settings))),
      applied(settings.notifications),
      painter(fonts),
      target(createRenderTarget(toastWidth, toastHeight)) {}

NotificationToasts::Shown NotificationToasts::serve(const Settings& settings,
                                                    std::chrono::steady_clock::time_point now) {
    if (settings.notifications != applied) {
        setNotificationSwitches(*center, switchesFor(settings));
        applied = settings.notifications;
    }
    serviceNotificationListeners(*center, now);
    // A toast's time counts from when it shows, after however long the
    // listeners took.
    const ToastView view = currentNotificationToast(*center, std::chrono::steady_clock::now());
    if (!view.toast) return {};
    Shown shown{view.alpha, view.alpha < 1, false};
    if (view.toast->serial != paintedSerial || view.toast->count != paintedCount) {
        painter.paint(*view.toast, target);
        paintedSerial = view.toast->serial;
        paintedCount = view.toast->count;
        shown.newImage = true;
    }
    return shown;
}
