// The toast queue's timing, merging and fair shares, and the flood limits.
#include <gtest/gtest.h>
#include <tuple>

#include "notifications/rate_limiter.h"
#include "notifications/toast_queue.h"

namespace {

using namespace std::chrono_literals;

const ToastClock::time_point t0{std::chrono::hours(1)};

Notification note(const std::string& title, float seconds = 2, const std::string& sender = "App",
                  NotificationSource source = NotificationSource::XsOverlay) {
    Notification notification;
    notification.source = source;
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

// Looks at the queue ten times a second from 'from', while 'flood' adds what
// it likes; how long until the toast titled so shows, or a minute.
template <typename Flood>
ToastClock::duration untilShown(ToastQueue& queue, const std::string& title, ToastClock::time_point from, Flood flood) {
    for (auto now = from; now < from + 60s; now += 100ms) {
        flood(now);
        if (shownAt(queue, now) == title) return now - from;
    }
    return 60s;
}
const auto noFlood = [](ToastClock::time_point) {};

TEST(ToastQueueTest, FadesInStaysAndFadesOut) {
    ToastQueue queue;
    ASSERT_EQ(queueNotification(queue, note("a", 2), t0).how, Queued::Placed);
    EXPECT_EQ(currentToast(queue, t0).toast, nullptr) << "not before it is looked at";
    EXPECT_EQ(shownAt(queue, t0), "a");
    const std::pair<std::chrono::milliseconds, float> alphas[] = {{-1ms, 0}, {250ms, 1}, {2250ms, 1}, {2750ms, 0}};
    for (const auto& [at, alpha] : alphas) EXPECT_FLOAT_EQ(toastAlpha(queue.toasts.front(), t0 + at), alpha) << at.count();
    EXPECT_EQ(currentToastEnds(queue), t0 + 2750ms);
}

// Each toast's time counts from when it is first looked at, so a stalled
// pass loses none of it; a short one leaves the stage at its own end.
TEST(ToastQueueTest, ToastsAreTimedFromWhenTheyShow) {
    ToastQueue queue;
    queueNotification(queue, note("a", 1), t0);
    queueNotification(queue, note("b", 3), t0 + 100ms);
    shownAt(queue, t0);
    EXPECT_EQ(shownAt(queue, t0 + 1s), "a");
    shownAt(queue, t0 + 1750ms + 10s);
    EXPECT_EQ(queue.toasts.front().shownFrom, t0 + 1750ms + 10s);
    EXPECT_EQ(shownAt(queue, t0 + 1750ms + 10s + 3700ms), "b");
    EXPECT_EQ(shownAt(queue, t0 + 1750ms + 10s + 3750ms), "");
    EXPECT_TRUE(queue.toasts.empty());
    queueNotification(queue, note("c", 1), t0 + 20s);
    EXPECT_EQ(queue.toasts.front().serial, 3u);
}

// Equal ones raise the count and never keep the shown one longer; while
// others wait, a toast gives way after three seconds, fading out from then
// or, when that has passed, from when the next came.
TEST(ToastQueueTest, RepeatsMergeAndToastsGiveWayToThoseWaiting) {
    ToastQueue queue;
    queueNotification(queue, note("a", 30), t0);
    shownAt(queue, t0);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(queueNotification(queue, note("a", 30), t0 + i * 10s).how, Queued::Merged);
    EXPECT_EQ(queue.toasts.front().count, 6);
    EXPECT_EQ(currentToastEnds(queue), t0 + 30750ms) << "the first timeout holds";
    queueNotification(queue, note("b", 30), t0 + 20s);
    EXPECT_EQ(queue.toasts.front().fadesOutFrom, t0 + 20s);
    EXPECT_EQ(shownAt(queue, t0 + 20500ms), "b");
    queueNotification(queue, note("c", 30, "Other"), t0 + 21s);
    EXPECT_EQ(queue.toasts.front().fadesOutFrom, t0 + 20500ms + 250ms + 3s);
    EXPECT_EQ(std::make_tuple(queue.toasts[0].serial, queue.toasts[1].serial), std::make_tuple(2u, 3u));
}

// One sender with ten minutes of toasts holds two places; the rest is
// summed up, and a friend's toast shows within seconds.
TEST(ToastQueueTest, OneSenderHoldsTwoPlacesAndTheRestIsSummedUp) {
    ToastQueue queue;
    for (int i = 0; i < 20; ++i) queueNotification(queue, note("spam " + std::to_string(i), 30, "Spammer"), t0);
    ASSERT_EQ(queue.toasts.size(), 3u);
    EXPECT_TRUE(queue.toasts[2].summary);
    EXPECT_EQ(queue.toasts[2].notification.title, "+18 more from 1 sender");
    EXPECT_EQ(queue.toasts[2].notification.content, "Spammer");
    EXPECT_EQ(queueNotification(queue, note("friend", 5, "VRCX"), t0 + 1s).how, Queued::Placed);
    EXPECT_LE(untilShown(queue, "friend", t0 + 1s, noFlood), 8s);
}

// Made-up names: each holds one place and the newest take the places of the
// oldest waiting, so a friend's toast after the flood, or through another
// kind of sender during it, shows within 15 s.
TEST(ToastQueueTest, AFriendShowsAfterAFloodOfMadeUpNames) {
    ToastQueue queue;
    int sent = 0;
    const auto flood = [&](ToastClock::time_point now) {
        queueNotification(queue, note("flood", 30, "name" + std::to_string(sent++)), now);
    };
    for (int i = 0; i < 50; ++i) flood(t0);
    ASSERT_EQ(queue.toasts.size(), maxQueuedToasts + 1);
    EXPECT_EQ(queue.toasts.back().notification.title, "+46 more from 46 senders");
    EXPECT_EQ(queue.toasts.back().notification.content, "name1, name10, name11, name12, name13, \u2026");
    queueNotification(queue, note("friend", 5, "VRCX"), t0 + 1s);
    EXPECT_LE(untilShown(queue, "friend", t0 + 1s, noFlood), 12s);
    queueNotification(queue, note("desktop friend", 5, "Mail", NotificationSource::Desktop), t0 + 30s);
    EXPECT_LE(untilShown(queue, "desktop friend", t0 + 30s, flood), 12s);
}

// Each sender's allowance of its own is ListenersTest's.
TEST(RateLimiterTest, BurstsOfTenThenFiveASecondPerSender) {
    RateLimiter limiter;
    int allowed = 0;
    for (int i = 0; i < 30; ++i) allowed += allowNotification(limiter, "UDP", "VRCX", t0);
    EXPECT_EQ(allowed, 10);
    allowed = 0;
    for (int i = 0; i < 50; ++i) allowed += allowNotification(limiter, "UDP", "VRCX", t0 + 1s + i * 1ms);
    EXPECT_EQ(allowed, 5);
}

// Made-up names cannot multiply the allowance or grow the table: a listener
// lets through twenty, then ten a second, whatever the names; another
// listener keeps its own.
TEST(RateLimiterTest, MadeUpNamesShareTheirListenersAllowance) {
    RateLimiter limiter;
    int allowed = 0, name = 0;
    for (int i = 0; i < 10000; ++i) allowed += allowNotification(limiter, "UDP", std::to_string(name++), t0);
    EXPECT_EQ(allowed, 20);
    allowed = 0;
    for (int i = 0; i < 10000; ++i) allowed += allowNotification(limiter, "UDP", std::to_string(name++), t0 + 10s + i * 1ms);
    EXPECT_NEAR(allowed, 20 + 10 * 10, 1);
    EXPECT_LE(limiter.senders.size(), maxRateLimitedSenders + 1);
    EXPECT_TRUE(allowNotification(limiter, "Desktop", "Mail", t0 + 20s));
}

}  // namespace
