#include "notifications/toast_queue.h"

#include <algorithm>

namespace {

ToastClock::duration stayFor(const Notification& notification) {
    return std::chrono::duration_cast<ToastClock::duration>(
        std::chrono::duration<float>(notification.timeoutSeconds));
}

void start(Toast& toast, ToastClock::time_point from) {
    toast.shownFrom = from;
    toast.fadesOutFrom = from + toastFadeIn + stayFor(toast.notification);
}

bool equalNotifications(const Notification& a, const Notification& b) {
    return a.source == b.source && a.sourceName == b.sourceName && a.title == b.title &&
           a.content == b.content && a.icon.width == b.icon.width && a.icon.height == b.icon.height &&
           a.icon.rgba == b.icon.rgba;
}

}  // namespace

bool queueNotification(ToastQueue& queue, Notification notification, ToastClock::time_point now) {
    for (Toast& toast : queue.toasts) {
        if (!equalNotifications(toast.notification, notification)) continue;
        ++toast.count;
        if (toast.shownFrom)
            toast.fadesOutFrom = std::max(toast.fadesOutFrom, now + stayFor(notification));
        return true;
    }
    if (queue.toasts.size() >= maxQueuedToasts) return false;
    queue.toasts.push_back(Toast{std::move(notification), 1, now, ++queue.queued, std::nullopt, {}});
    if (queue.toasts.size() == 1) start(queue.toasts.front(), now);
    return true;
}

void advanceToasts(ToastQueue& queue, ToastClock::time_point now) {
    if (!queue.toasts.empty() && !queue.toasts.front().shownFrom) start(queue.toasts.front(), now);
    while (!queue.toasts.empty() && now >= queue.toasts.front().fadesOutFrom + toastFadeOut) {
        const ToastClock::time_point ended = queue.toasts.front().fadesOutFrom + toastFadeOut;
        queue.toasts.pop_front();
        if (!queue.toasts.empty()) start(queue.toasts.front(), std::max(ended, queue.toasts.front().arrivedAt));
    }
}

float toastAlpha(const Toast& toast, ToastClock::time_point now) {
    if (!toast.shownFrom || now < *toast.shownFrom) return 0;
    using Seconds = std::chrono::duration<float>;
    const float in = Seconds(now - *toast.shownFrom).count() / Seconds(toastFadeIn).count();
    const float out = 1 - Seconds(now - toast.fadesOutFrom).count() / Seconds(toastFadeOut).count();
    return std::clamp(std::min(in, out), 0.0f, 1.0f);
}

ToastView currentToast(const ToastQueue& queue, ToastClock::time_point now) {
    if (queue.toasts.empty()) return {};
    const Toast& front = queue.toasts.front();
    const float alpha = toastAlpha(front, now);
    if (alpha <= 0) return {};
    return {&front, alpha};
}

std::optional<ToastClock::time_point> currentToastEnds(const ToastQueue& queue) {
    if (queue.toasts.empty()) return std::nullopt;
    return queue.toasts.front().fadesOutFrom + toastFadeOut;
}
