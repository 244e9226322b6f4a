// The desktop monitor on a private session bus where a real notification
// daemon (Debian's dunst, on a display of its own) owns the name, as on a
// desktop: notify-send 0.8.1 asks the daemon for its capabilities first and
// gives up without one.
#include <gtest/gtest.h>
#include <thread>

#include "notifications/notification_center.h"
#include "support/child_process.h"
#include "support/debug_output_capture.h"
#include "support/private_desktop.h"
#include "support/test_files.h"

namespace {

using namespace std::chrono_literals;

class DesktopMonitorTest : public ::testing::Test {
protected:
    // notify-send with the arguments, serving the monitor meanwhile; what it saw.
    std::vector<Notification> notifySend(NotificationCenter& center, const std::vector<std::string>& arguments) {
        std::vector<Notification> seen;
        const bool sent = desktop.notifySend(arguments, [&] { serveInto(center, seen, 0ms); });
        EXPECT_TRUE(sent) << "notify-send never got through";
        serveInto(center, seen, 100ms);
        return seen;
    }

    // Serves until the log holds the line, at most five seconds: connecting
    // takes longer on a busy machine. As if 'later' had passed.
    bool serveUntilLogged(NotificationCenter& center, const std::string& line, std::chrono::seconds later = {}) {
        std::vector<Notification> seen;
        for (int i = 0; i < 250 && output.text().find(line) == std::string::npos; ++i)
            serveInto(center, seen, 20ms, later);
        return output.text().find(line) != std::string::npos;
    }

    void serveInto(NotificationCenter& center, std::vector<Notification>& seen, std::chrono::milliseconds duration,
                   std::chrono::seconds later = {}) {
        const auto end = std::chrono::steady_clock::now() + duration;
        do {
            for (Notification& n : serviceNotificationListeners(center, std::chrono::steady_clock::now() + later))
                seen.push_back(std::move(n));
            std::this_thread::sleep_for(2ms);
        } while (std::chrono::steady_clock::now() < end);
    }

    LogCapture output;
    PrivateDesktop desktop;
};

const NotificationSwitches desktopOnly{true, true, false, false};

// Monitoring, the program's own way on a desktop, is ToastProgramTest's: the
// program waits for its log line. A bus that does not let us monitor is
// eavesdropped on instead.
TEST_F(DesktopMonitorTest, BusWithoutMonitoringIsEavesdroppedOn) {
    ASSERT_TRUE(desktop.start(R"(<deny send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus.Monitoring"/>)"));
    auto center = createNotificationCenter(desktopOnly, {0, 0, 0, desktop.address()});
    EXPECT_TRUE(serveUntilLogged(*center, "Desktop notifications: eavesdropping on the session bus")) << output.text();
    // How a Notify call reads is desktop_notify_test.cpp's; here it arrives,
    // and the next after it.
    for (const std::string title : {"Eavesdropped", "Next"}) {
        const std::vector<Notification> seen = notifySend(*center, {title, "body"});
        ASSERT_EQ(seen.size(), 1u) << output.text();
        EXPECT_EQ(seen[0].title, title);
    }
}

// Without a bus: one line, a new try every 30 s, and it connects once the
// bus is there.
TEST_F(DesktopMonitorTest, MissingBusIsTriedAgainEvery30Seconds) {
    auto center = createNotificationCenter(desktopOnly, {0, 0, 0, desktop.address()});
    const auto start = std::chrono::steady_clock::now();
    serviceNotificationListeners(*center, start);
    serviceNotificationListeners(*center, start + 10s);
    EXPECT_NE(output.text().find("Desktop notifications: "), std::string::npos);
    EXPECT_NE(output.text().find("trying again every 30 s"), std::string::npos) << output.text();
    EXPECT_EQ(std::count(output.text().begin(), output.text().end(), '\n'), 1) << output.text();
    ASSERT_TRUE(desktop.start());
    serviceNotificationListeners(*center, start + 29s);
    EXPECT_EQ(output.text().find("monitoring"), std::string::npos);
    EXPECT_TRUE(serveUntilLogged(*center, "monitoring the session bus", 30s)) << output.text();
}

}  // namespace
