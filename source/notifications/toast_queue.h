#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>

#include "notifications/notification.h"

// The toasts waiting to be shown, one at a time: each fades in, stays for its
// timeout and fades out, and the next one follows. Its look at any moment is
// a function of that moment and the queue alone, so the watch's redraw can
// ask for any time.
//
// No sender keeps the others off the wrist: while others wait, a toast
// gives way after toastGivesWayAfter; a sender holds at most
// maxToastsPerSender places; and a backlog longer than the places is summed
// up in one toast ("+37 more from 3 senders") instead of being shown toast
// by toast, so that whoever comes next waits seconds, not minutes.
using ToastClock = std::chrono::steady_clock;

constexpr std::size_t maxQueuedToasts = 4;  // the shown one and three waiting
constexpr std::size_t maxToastsPerSender = 2;
constexpr std::chrono::seconds toastGivesWayAfter{3};
constexpr std::chrono::milliseconds toastFadeIn{250};
constexpr std::chrono::milliseconds toastFadeOut{500};
// Senders a summary names at most; more are counted as "100+".
constexpr std::size_t maxSummedSenders = 100;

struct Toast {
    Notification notification;
    int count = 1;  // equal notifications merged into this toast
    std::uint64_t serial = 0;  // which toast it is: the queue counts them from 1
    bool summary = false;      // sums up what found no place
    // Set once the toast comes to the front and is looked at: when it began
    // to fade in, and when it begins to fade out.
    std::optional<ToastClock::time_point> shownFrom;
    ToastClock::time_point fadesOutFrom;
};

struct ToastQueue {
    std::deque<Toast> toasts;  // the front one is shown
    std::uint64_t queued = 0;  // toasts queued so far
    // What the last summary made sums up; only the one not shown yet grows.
    int summed = 0;
    std::set<std::string> summedSenders;
};

enum class Queued {
    Placed,  // a toast of its own, after those waiting but before a summary
    Merged,  // equal to a queued toast (same source, sender, title, content
             // and icon), whose count went up; a shown one stays no longer
    Summed,  // no place for it: counted in the summary
};
struct QueueResult {
    Queued how = Queued::Summed;
    Toast* toast = nullptr;  // the one placed or merged into
};
QueueResult queueNotification(ToastQueue& queue, Notification notification, ToastClock::time_point now);

// Removes the toasts that have faded out by 'now' and starts the next at
// 'now': a toast's time counts from when it is first looked at, so one that
// waited through a stalled pass loses none of it.
void advanceToasts(ToastQueue& queue, ToastClock::time_point now);

// How opaque a toast is at 'now': 0 before it starts and after it faded out.
float toastAlpha(const Toast& toast, ToastClock::time_point now);

struct ToastView {
    const Toast* toast = nullptr;  // none before a toast starts and after it ended
    float alpha = 0;               // 0 at the very start of its fade-in
};
ToastView currentToast(const ToastQueue& queue, ToastClock::time_point now);

// When the toast shown will have faded out (to know when to draw again).
std::optional<ToastClock::time_point> currentToastEnds(const ToastQueue& queue);
