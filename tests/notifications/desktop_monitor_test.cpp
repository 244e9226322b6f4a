// The desktop monitor on a private session bus where a real notification
// daemon (Debian's dunst, on a display of its own) owns the name, as on a
// desktop: notify-send 0.8.1 asks the daemon for its capabilities first and
// gives up without one.
#include <gtest/gtest.h>
#include <thread>

#include "notifications/notification_center.h"
#include "platform/log.h"
#include "support/child_process.h"
#include "support/debug_output_capture.h"
#include "support/test_files.h"

namespace {

using namespace std::chrono_literals;

// A session bus of its own, without service folders (nothing is started on
// demand); 'extraPolicy' adds rules.
std::string busConfig(const std::string& socket, const std::string& extraPolicy) {
    return R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=)" + socket + R"(</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
)" + extraPolicy + R"(
  </policy>
</busconfig>
)";
}

class DesktopMonitorTest : public ::testing::Test {
protected:
    void SetUp() override { loggingEnabled = true; }
    void TearDown() override { loggingEnabled = false; }

    // dbus-daemon, Xvfb and dunst, each a process of its own that the test
    // ends. False when one does not come up.
    bool startDesktop(const std::string& extraPolicy = "") {
        for (const char* name : {"bus", "display", "daemon", "sender"}) writeFile(root.path() + "/" + name + "/.keep", "");
        writeFile(root.path() + "/bus.conf", busConfig(root.path() + "/bus/socket", extraPolicy));
        address = "unix:path=" + root.path() + "/bus/socket";
        bus = std::make_unique<ChildProcess>("/usr/bin/dbus-daemon",
                                             std::vector<std::string>{"--config-file=" + root.path() + "/bus.conf", "--nofork"},
                                             root.path() + "/bus");
        // Xvfb writes its display number to its standard output.
        display = std::make_unique<ChildProcess>(
            "/usr/bin/Xvfb", std::vector<std::string>{"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "320x240x24"},
            root.path() + "/display");
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (display->standardOutput().find('\n') == std::string::npos || !fileExists(root.path() + "/bus/socket")) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(20ms);
        }
        const std::string number = display->standardOutput().substr(0, display->standardOutput().find('\n'));
        writeFile(root.path() + "/dunstrc", "");
        daemon = std::make_unique<ChildProcess>(
            "/usr/bin/dunst", std::vector<std::string>{"-config", root.path() + "/dunstrc"}, root.path() + "/daemon",
            ChildProcess::Environment{{"DISPLAY", ":" + number}, {"DBUS_SESSION_BUS_ADDRESS", address}});
        return true;
    }

    static bool fileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

    // notify-send with the arguments, retried until the daemon answers;
    // serves the monitor meanwhile and returns what it saw.
    std::vector<Notification> notifySend(NotificationCenter& center, const std::vector<std::string>& arguments) {
        std::vector<Notification> seen;
        const auto deadline = std::chrono::steady_clock::now() + 15s;
        while (std::chrono::steady_clock::now() < deadline) {
            ChildProcess sender("/usr/bin/notify-send", arguments, root.path() + "/sender",
                                {{"DBUS_SESSION_BUS_ADDRESS", address}});
            std::optional<int> status;
            while (!(status = sender.waitForExit(0ms)) && std::chrono::steady_clock::now() < deadline)
                serveInto(center, seen, 5ms);
            serveInto(center, seen, 100ms);
            if (status == 0) return seen;
        }
        ADD_FAILURE() << "notify-send never got through";
        return seen;
    }

    void serveInto(NotificationCenter& center, std::vector<Notification>& seen, std::chrono::milliseconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        do {
            for (Notification& n : serviceNotificationListeners(center, std::chrono::steady_clock::now()))
                seen.push_back(std::move(n));
            std::this_thread::sleep_for(2ms);
        } while (std::chrono::steady_clock::now() < end);
    }

    DebugOutputCapture output;
    TemporaryDirectory root;
    std::string address;
    // Ended in reverse order: the daemon, the display, the bus.
    std::unique_ptr<ChildProcess> bus, display, daemon;
};

const NotificationSwitches desktopOnly{true, true, false, false};

TEST_F(DesktopMonitorTest, NotifySendThroughDunstIsSeenByTheMonitor) {
    ASSERT_TRUE(startDesktop());
    auto center = createNotificationCenter(desktopOnly, {0, 0, 0, address});
    std::vector<Notification> seen;
    serveInto(*center, seen, 200ms);
    EXPECT_NE(output.text().find("Desktop notifications: monitoring the session bus"), std::string::npos)
        << output.text();
    seen = notifySend(*center, {"-a", "Mail", "-u", "critical", "New mail", "From <b>Alice</b> &amp; Bob"});
    ASSERT_EQ(seen.size(), 1u) << output.text();
    EXPECT_EQ(seen[0].source, NotificationSource::Desktop);
    EXPECT_EQ(seen[0].sourceName, "Mail");
    EXPECT_EQ(seen[0].title, "New mail");
    EXPECT_EQ(seen[0].content, "From Alice & Bob");
    EXPECT_EQ(seen[0].urgency, NotificationUrgency::Critical);
    // The daemon still shows what it got: the monitor took nothing away.
    EXPECT_EQ(daemon->running(), true);
    // Transient ones pass unseen; the next is seen.
    EXPECT_TRUE(notifySend(*center, {"-h", "int:transient:1", "Gone", "soon"}).empty());
    const auto next = notifySend(*center, {"Next", "one"});
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].title, "Next");
    const ToastView toast = currentNotificationToast(*center, std::chrono::steady_clock::now());
    ASSERT_TRUE(toast.toast);
    EXPECT_EQ(toast.toast->notification.title, "New mail");
}

// A bus that does not let us monitor is eavesdropped on instead.
TEST_F(DesktopMonitorTest, BusWithoutMonitoringIsEavesdroppedOn) {
    ASSERT_TRUE(startDesktop(R"(<deny send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus.Monitoring"/>)"));
    auto center = createNotificationCenter(desktopOnly, {0, 0, 0, address});
    std::vector<Notification> seen;
    serveInto(*center, seen, 200ms);
    EXPECT_NE(output.text().find("Desktop notifications: eavesdropping on the session bus"), std::string::npos)
        << output.text();
    seen = notifySend(*center, {"Eavesdropped", "body"});
    ASSERT_EQ(seen.size(), 1u) << output.text();
    EXPECT_EQ(seen[0].title, "Eavesdropped");
}

// Without a bus: one line, a new try every 30 s, and it connects once the
// bus is there.
TEST_F(DesktopMonitorTest, MissingBusIsTriedAgainEvery30Seconds) {
    const std::string socket = root.path() + "/bus/socket";
    auto center = createNotificationCenter(desktopOnly, {0, 0, 0, "unix:path=" + socket});
    const auto start = std::chrono::steady_clock::now();
    serviceNotificationListeners(*center, start);
    serviceNotificationListeners(*center, start + 10s);
    EXPECT_NE(output.text().find("Desktop notifications: "), std::string::npos);
    EXPECT_NE(output.text().find("trying again every 30 s"), std::string::npos) << output.text();
    EXPECT_EQ(std::count(output.text().begin(), output.text().end(), '\n'), 1) << output.text();
    ASSERT_TRUE(startDesktop());
    std::vector<Notification> seen;
    serviceNotificationListeners(*center, start + 29s);
    EXPECT_EQ(output.text().find("monitoring"), std::string::npos);
    const auto later = start + 30s;
    for (int i = 0; i < 200 && output.text().find("monitoring the session bus") == std::string::npos; ++i) {
        serviceNotificationListeners(*center, later + std::chrono::milliseconds(i * 10));
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_NE(output.text().find("monitoring the session bus"), std::string::npos) << output.text();
}

}  // namespace
