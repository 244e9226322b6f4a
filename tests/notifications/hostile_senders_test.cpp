// Attacks a local program could make on the senders' ports, with figures:
// how long until a friend's toast shows after each, and how much the log
// grows while every message is refused.
#include <arpa/inet.h>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

#include "notifications/notification_center.h"
#include "platform/log.h"
#include "support/debug_output_capture.h"
#include "support/loopback_datagram.h"

namespace {

using namespace std::chrono_literals;

std::string datagram(const std::string& title, const std::string& sourceApp, int timeout = 30) {
    return R"({"messageType":1,"timeout":)" + std::to_string(timeout) + R"(,"title":")" + title +
           R"(","content":"c","sourceApp":")" + sourceApp + R"("})";
}

class HostileSendersTest : public ::testing::Test {
protected:
    void SetUp() override {
        loggingEnabled = true;
        serviceNotificationListeners(*center, start);
        port = notificationPortsBound(*center).xsOverlayUdp;
        ASSERT_NE(port, 0);
    }
    void TearDown() override { loggingEnabled = false; }

    // Passes ten times a (made-up) second, the attack sending before each,
    // for 'attackFor'; then the friend's datagram, and passes until its
    // toast shows. How long that took, a minute at most.
    ToastClock::duration friendShowsAfter(ToastClock::duration attackFor, const std::function<void(int)>& attack) {
        ToastClock::time_point now = start;
        for (int pass = 0; now < start + attackFor; ++pass, now += 100ms) {
            attack(pass);
            serviceNotificationListeners(*center, now);
            currentNotificationToast(*center, now);
        }
        sendLoopbackDatagram(AF_INET, port, datagram("friend", "VRCX", 5));
        const ToastClock::time_point sent = now;
        for (; now < sent + 60s; now += 100ms) {
            serviceNotificationListeners(*center, now);
            const ToastView shown = currentNotificationToast(*center, now);
            if (shown.toast && shown.toast->notification.title == "friend") break;
        }
        std::printf("the friend's toast showed %.1f s after it was sent\n",
                    std::chrono::duration<double>(now - sent).count());
        return now - sent;
    }

    DebugOutputCapture output;
    const ToastClock::time_point start = ToastClock::now();
    NotificationCenterPointer center = createNotificationCenter({true, false, true, true}, {0, 0, 0, ""});
    int port = 0;
};

TEST_F(HostileSendersTest, AFriendShowsAfterAFloodOfMadeUpNames) {
    int name = 0;
    EXPECT_LE(friendShowsAfter(10s, [&](int) {
                  for (int i = 0; i < 30; ++i) sendLoopbackDatagram(AF_INET, port, datagram("flood", std::to_string(name++)));
              }),
              15s);
}

// Every kind of refusal at once, as fast as the sender can, for three
// seconds: each kind of line at most once a second.
TEST_F(HostileSendersTest, RefusalsGrowTheLogByAFewLinesASecond) {
    const std::string refused[] = {"{", R"({"messageType":2,"title":"t"})", R"({"messageType":1,"title":7})",
                                   R"({"messageType":1})", datagram("flood", "Flooder")};
    std::size_t sent = 0;
    for (const auto end = ToastClock::now() + 3s; ToastClock::now() < end;) {
        for (const std::string& bytes : refused) sendLoopbackDatagram(AF_INET, port, bytes);
        sent += std::size(refused);
        serviceNotificationListeners(*center, ToastClock::now());
    }
    const std::size_t bytes = output.text().size();
    std::printf("%zu refused datagrams in 3 s wrote %zu bytes of log\n", sent, bytes);
    EXPECT_GT(sent, 10000u);
    EXPECT_LT(bytes, 6u * 4 * 200);
    EXPECT_NE(output.text().find("more like this left out"), std::string::npos);
}

}  // namespace
