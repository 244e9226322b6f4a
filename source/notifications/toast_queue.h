#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "notifications/notification.h"

// The toasts waiting to be shown, one at a time: each fades in, stays for its
// timeout and fades out, and the next one follows. Its look at any moment is
// a function of that moment alone, so the watch's redraw can ask for any time.
using ToastClock = std::chrono::steady_clock;

constexpr std::size_t maxQueuedToasts = 20;
constexpr std::chrono::milliseconds toastFadeIn{250};
constexpr std::chrono::milliseconds toastFadeOut{500};

struct Toast {
    Notification notification;
    int count = 1;  // equal notifications merged into this toast
    ToastClock::time_point arrivedAt;
    std::uint64_t serial = 0;  // which toast it is: the queue counts them from 1
    // Set once the toast comes to the front: when it began to fade in, and
    // when it begins to fade out.
    std::optional<ToastClock::time_point> shownFrom;
    ToastClock::time_point fadesOutFrom;
};

struct ToastQueue {
    std::deque<Toast> toasts;  // the front one is shown
    std::uint64_t queued = 0;  // toasts queued so far
};

// Adds a notification. One equal to a queued toast (same source, sender,
// title, content and icon) raises that toast's count instead, and keeps a
// shown toast for its timeout from now. False when it was dropped because
// the queue is full.
bool queueNotification(ToastQueue& queue, Notification notification, ToastClock::time_point now);

// Removes the toasts that have faded out by 'now'; the next starts where the
// previous ended, or when it arrived if that is later. A front toast not yet
// started (the one before it was taken away) starts at 'now'.
void advanceToasts(ToastQueue& queue, ToastClock::time_point now);

// How opaque a toast is at 'now': 0 before it starts and after it faded out.
float toastAlpha(const Toast& toast, ToastClock::time_point now);

struct ToastView {
    const Toast* toast = nullptr;  // none while nothing is shown
    float alpha = 0;
};
ToastView currentToast(const ToastQueue& queue, ToastClock::time_point now);

// When the toast shown will have faded out (to know when to draw again).
std::optional<ToastClock::time_point> currentToastEnds(const ToastQueue& queue);
