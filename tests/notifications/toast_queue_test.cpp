// The toast queue's timing, merging and room, and the flood limits.
#include <gtest/gtest.h>
#include <tuple>

#include "notifications/rate_limiter.h"
#include "notifications/toast_queue.h"

namespace {

using namespace std::chrono_literals;

const ToastClock::time_point t0{std::chrono::hours(1)};

Notification note(const std::string& title, float seconds = 2, const std::string& sender = "App") {
    Notification notification;
    notification.source = NotificationSource::XsOverlay;
    notification.sourceName = sender;
    notification.title = title;
    notification.timeoutSeconds = seconds;
    return notification;
}

// The shown toast's title at a moment, after the queue moved on to it.
std::string shownAt(ToastQueue& queue, ToastClock::time_point now) {
    advanceToasts(queue, now);
    const ToastView view = currentToast(queue, now);
    return view.toast ? view.toast->notification.title : "";
}

TEST(ToastQueueTest, FadesInStaysAndFadesOut) {
    ToastQueue queue;
    ASSERT_TRUE(queueNotification(queue, note("a", 2), t0));
    const Toast& toast = queue.toasts.front();
    EXPECT_EQ(toastAlpha(toast, t0 - 1ms), 0);
    EXPECT_EQ(toastAlpha(toast, t0), 0);
    EXPECT_FLOAT_EQ(toastAlpha(toast, t0 + 125ms), 0.5f);
    EXPECT_EQ(toastAlpha(toast, t0 + 250ms), 1);
    EXPECT_EQ(toastAlpha(toast, t0 + 2250ms), 1);
    EXPECT_FLOAT_EQ(toastAlpha(toast, t0 + 2500ms), 0.5f);
    EXPECT_EQ(toastAlpha(toast, t0 + 2750ms), 0);
    // A pure function of time: asking twice, or out of order, changes nothing.
    EXPECT_FLOAT_EQ(toastAlpha(toast, t0 + 125ms), 0.5f);
    EXPECT_EQ(currentToastEnds(queue), t0 + 2750ms);
}

// The next starts where the previous ended, however late the queue is looked at.
TEST(ToastQueueTest, ToastsFollowOneAnotherWithoutGaps) {
    ToastQueue queue;
    queueNotification(queue, note("a", 1), t0);
    queueNotification(queue, note("b", 3), t0 + 100ms);
    EXPECT_EQ(shownAt(queue, t0 + 1s), "a");
    EXPECT_EQ(shownAt(queue, t0 + 1750ms + 100ms), "b");
    EXPECT_EQ(queue.toasts.front().shownFrom, t0 + 1750ms);
    EXPECT_EQ(shownAt(queue, t0 + 1750ms + 3750ms), "");
    EXPECT_TRUE(queue.toasts.empty());
    // One arriving after a pause starts when it arrives, a toast of its own
    // however alike its place in the emptied queue.
    queueNotification(queue, note("c", 1), t0 + 10s);
    EXPECT_EQ(queue.toasts.front().shownFrom, t0 + 10s);
    EXPECT_EQ(queue.toasts.front().serial, 3u);
}

TEST(ToastQueueTest, EqualNotificationsMergeWithACount) {
    ToastQueue queue;
    queueNotification(queue, note("a", 2), t0);
    queueNotification(queue, note("b", 2), t0);
    queueNotification(queue, note("b", 2), t0 + 1s);
    queueNotification(queue, note("a", 2, "Other"), t0 + 1s);
    ASSERT_EQ(queue.toasts.size(), 3u);
    EXPECT_EQ(queue.toasts[1].count, 2);
    EXPECT_EQ(std::make_tuple(queue.toasts[0].serial, queue.toasts[1].serial, queue.toasts[2].serial),
              std::make_tuple(1u, 2u, 3u));
    // A copy of the shown one keeps it up for its timeout from then.
    queueNotification(queue, note("a", 2), t0 + 2s);
    EXPECT_EQ(queue.toasts.front().count, 2);
    EXPECT_EQ(toastAlpha(queue.toasts.front(), t0 + 3900ms), 1);
    EXPECT_EQ(shownAt(queue, t0 + 4600ms), "b");
}

TEST(ToastQueueTest, AtMostTwentyWait) {
    ToastQueue queue;
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(queueNotification(queue, note(std::to_string(i)), t0));
    EXPECT_FALSE(queueNotification(queue, note("21"), t0));
    // A copy of a waiting one still merges.
    EXPECT_TRUE(queueNotification(queue, note("7"), t0));
    EXPECT_EQ(queue.toasts.size(), 20u);
    EXPECT_EQ(queue.toasts[7].count, 2);
}

TEST(RateLimiterTest, BurstsOfTenThenFiveASecondPerSender) {
    RateLimiter limiter;
    int allowed = 0;
    for (int i = 0; i < 30; ++i) allowed += allowNotification(limiter, "VRCX", t0);
    EXPECT_EQ(allowed, 10);
    // Another sender has an allowance of its own.
    EXPECT_TRUE(allowNotification(limiter, "Discord", t0));
    allowed = 0;
    for (int i = 0; i < 50; ++i) allowed += allowNotification(limiter, "VRCX", t0 + 1s + i * 1ms);
    EXPECT_EQ(allowed, 5);
    // Quiet long enough, the whole burst is back, and no more.
    allowed = 0;
    for (int i = 0; i < 30; ++i) allowed += allowNotification(limiter, "VRCX", t0 + 1h);
    EXPECT_EQ(allowed, 10);
}

// Made-up names cannot multiply the allowance or grow the table.
TEST(RateLimiterTest, ManySendersShareOneAllowance) {
    RateLimiter limiter;
    int allowed = 0;
    for (int i = 0; i < 10000; ++i) allowed += allowNotification(limiter, "name" + std::to_string(i), t0);
    EXPECT_LE(limiter.buckets.size(), maxRateLimitedSenders + 1);
    EXPECT_EQ(allowed, 64 + 10);
}

}  // namespace
