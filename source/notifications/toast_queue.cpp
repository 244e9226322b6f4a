#include "notifications/toast_queue.h"

#include <algorithm>
#include <map>

namespace {

constexpr std::size_t summaryNamesShown = 5;

ToastClock::duration stayFor(const Notification& notification) {
    return std::chrono::duration_cast<ToastClock::duration>(
        std::chrono::duration<double>(notification.timeoutSeconds));
}

std::string senderName(const Notification& notification) {
    return notification.sourceName.empty() ? notificationSourceName(notification.source) : notification.sourceName;
}

std::string senderKey(const Notification& notification) {
    return std::string(notificationSourceName(notification.source)) + "/" + notification.sourceName;
}

// A shown toast that others wait behind fades out toastGivesWayAfter after
// it came in, or now when that has passed.
void giveWay(Toast& front, ToastClock::time_point now) {
    front.fadesOutFrom = std::min(front.fadesOutFrom, std::max(*front.shownFrom + toastFadeIn + toastGivesWayAfter, now));
}

void start(ToastQueue& queue, ToastClock::time_point from) {
    Toast& front = queue.toasts.front();
    front.shownFrom = from;
    front.fadesOutFrom = from + toastFadeIn + stayFor(front.notification);
    if (queue.toasts.size() > 1) giveWay(front, from);
}

bool equalNotifications(const Notification& a, const Notification& b) {
    const IconRequest &iconA = a.iconRequest, &iconB = b.iconRequest;
    return a.source == b.source && a.sourceName == b.sourceName && a.title == b.title &&
           a.content == b.content && iconA.text == iconB.text && iconA.base64 == iconB.base64 &&
           (!iconA.text.empty() || (a.icon.width == b.icon.width && a.icon.height == b.icon.height &&
                                    a.icon.rgba == b.icon.rgba));
}

bool waitingSummary(const ToastQueue& queue, const Toast& toast) {
    return toast.summary && &toast != &queue.toasts.front();
}

void sumUp(ToastQueue& queue, const Notification& notification, int count) {
    auto summary = std::find_if(queue.toasts.begin(), queue.toasts.end(),
                                [&](const Toast& toast) { return waitingSummary(queue, toast); });
    if (summary == queue.toasts.end()) {
        Notification text;
        text.source = notification.source;
        text.sourceName = "Horlox";
        text.timeoutSeconds = defaultTimeoutSeconds;
        queue.toasts.push_back(Toast{std::move(text), 1, ++queue.queued, true, std::nullopt, {}});
        summary = std::prev(queue.toasts.end());
        queue.summed = 0;
        queue.summedSenders.clear();
    }
    queue.summed += count;
    if (queue.summedSenders.size() < maxSummedSenders) queue.summedSenders.insert(senderName(notification));
    const std::size_t senders = queue.summedSenders.size();
    summary->notification.title = "+" + std::to_string(queue.summed) + " more from " +
                                  (senders >= maxSummedSenders ? std::to_string(maxSummedSenders) + "+"
                                                               : std::to_string(senders)) +
                                  (senders == 1 ? " sender" : " senders");
    std::string& names = summary->notification.content;
    names.clear();
    std::size_t named = 0;
    for (const std::string& name : queue.summedSenders) {
        if (named++ == summaryNamesShown) {
            names += ", \u2026";
            break;
        }
        names += (names.empty() ? "" : ", ") + name;
    }
}

// With every place taken, one waiting toast makes room for the newcomer:
// one of the kind of sender holding the most places, and of that kind the
// sender holding the most, its oldest. The newcomer itself counts, so a
// sender that already holds the most loses its own oldest, and the shown
// toast is never taken away. Empty when only the newcomer could go.
std::optional<std::size_t> makeRoomFor(const ToastQueue& queue, const Notification& newcomer) {
    std::map<NotificationSource, int> kinds{{newcomer.source, 1}};
    std::map<std::string, int> senders{{senderKey(newcomer), 1}};
    for (const Toast& toast : queue.toasts) {
        if (toast.summary) continue;
        ++kinds[toast.notification.source];
        ++senders[senderKey(toast.notification)];
    }
    std::optional<std::size_t> chosen;
    auto weight = [&](const Notification& n) { return std::pair{kinds[n.source], senders[senderKey(n)]}; };
    for (std::size_t i = 1; i < queue.toasts.size(); ++i) {
        const Toast& toast = queue.toasts[i];
        if (toast.summary) continue;
        if (!chosen || weight(toast.notification) > weight(queue.toasts[*chosen].notification)) chosen = i;
    }
    if (chosen && weight(newcomer) > weight(queue.toasts[*chosen].notification)) return std::nullopt;
    return chosen;
}

}  // namespace

QueueResult queueNotification(ToastQueue& queue, Notification notification, ToastClock::time_point now) {
    std::size_t places = 0, held = 0;
    for (Toast& toast : queue.toasts) {
        if (toast.summary) continue;
        if (equalNotifications(toast.notification, notification)) {
            ++toast.count;
            return {Queued::Merged, &toast};
        }
        ++places;
        held += senderKey(toast.notification) == senderKey(notification);
    }
    if (held >= maxToastsPerSender) {
        sumUp(queue, notification, 1);
        return {};
    }
    if (places >= maxQueuedToasts) {
        const std::optional<std::size_t> room = makeRoomFor(queue, notification);
        if (!room) {
            sumUp(queue, notification, 1);
            return {};
        }
        const Toast folded = std::move(queue.toasts[*room]);
        queue.toasts.erase(queue.toasts.begin() + static_cast<std::ptrdiff_t>(*room));
        sumUp(queue, folded.notification, folded.count);
    }
    // The summary comes last: it is the least news.
    auto place = queue.toasts.end();
    if (!queue.toasts.empty() && waitingSummary(queue, queue.toasts.back())) --place;
    place = queue.toasts.insert(place, Toast{std::move(notification), 1, ++queue.queued, false, std::nullopt, {}});
    Toast& front = queue.toasts.front();
    if (queue.toasts.size() > 1 && front.shownFrom) giveWay(front, now);
    return {Queued::Placed, &*place};
}

void advanceToasts(ToastQueue& queue, ToastClock::time_point now) {
    while (!queue.toasts.empty()) {
        if (!queue.toasts.front().shownFrom) start(queue, now);
        if (now < queue.toasts.front().fadesOutFrom + toastFadeOut) return;
        queue.toasts.pop_front();
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
    if (!front.shownFrom || now < *front.shownFrom || now >= front.fadesOutFrom + toastFadeOut) return {};
    return {&front, toastAlpha(front, now)};
}

std::optional<ToastClock::time_point> currentToastEnds(const ToastQueue& queue) {
    if (queue.toasts.empty()) return std::nullopt;
    // A toast not looked at yet starts at the next look.
    if (!queue.toasts.front().shownFrom) return ToastClock::time_point::min();
    return queue.toasts.front().fadesOutFrom + toastFadeOut;
}
