#include "notifications/desktop_monitor.h"

#include <cstdlib>
#include <cstring>
#include <systemd/sd-bus.h>

#include "notifications/desktop_notify.h"
#include "platform/log.h"

namespace {

constexpr std::chrono::seconds retryInterval{30};
// Messages read in one pass at most; the rest wait for the next.
constexpr int maxMessagesPerPass = 64;
constexpr const char* notifyRule =
    "type='method_call',interface='org.freedesktop.Notifications',member='Notify'";
constexpr const char* eavesdropRule =
    "eavesdrop='true',type='method_call',interface='org.freedesktop.Notifications',member='Notify'";

std::string sessionBusAddress() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS")) return address;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) return std::string("unix:path=") + runtime + "/bus";
    return {};
}

void fail(DesktopMonitor& monitor, std::chrono::steady_clock::time_point now, const char* what, int error) {
    if (!monitor.nextTry)
        logMessage("Desktop notifications: %s (%s); trying again every %d s", what, std::strerror(error),
                   static_cast<int>(retryInterval.count()));
    stopDesktopMonitor(monitor);
    monitor.nextTry = now + retryInterval;
}

int onAddMatch(sd_bus_message* reply, void* data, sd_bus_error*) {
    auto& monitor = *static_cast<DesktopMonitor*>(data);
    if (sd_bus_message_is_method_error(reply, nullptr)) {
        const sd_bus_error* error = sd_bus_message_get_error(reply);
        logMessage("Desktop notifications: the bus lets us neither monitor nor eavesdrop (%s)", error->name);
        monitor.stage = DesktopMonitor::Stage::Closed;
        return 0;
    }
    logMessage("Desktop notifications: eavesdropping on the session bus");
    monitor.stage = DesktopMonitor::Stage::Listening;
    monitor.eavesdropping = true;
    return 0;
}

int onBecomeMonitor(sd_bus_message* reply, void* data, sd_bus_error*) {
    auto& monitor = *static_cast<DesktopMonitor*>(data);
    if (!sd_bus_message_is_method_error(reply, nullptr)) {
        logMessage("Desktop notifications: monitoring the session bus");
        monitor.stage = DesktopMonitor::Stage::Listening;
        return 0;
    }
    // Older or stricter buses: the connection is still an ordinary one.
    const int r = sd_bus_call_method_async(monitor.bus, nullptr, "org.freedesktop.DBus",
                                           "/org/freedesktop/DBus", "org.freedesktop.DBus", "AddMatch", onAddMatch,
                                           &monitor, "s", eavesdropRule);
    monitor.stage = r < 0 ? DesktopMonitor::Stage::Closed : DesktopMonitor::Stage::Eavesdropping;
    return 0;
}

int connect(DesktopMonitor& monitor) {
    const std::string address = monitor.address.empty() ? sessionBusAddress() : monitor.address;
    if (address.empty()) return -ENOENT;
    int r = sd_bus_new(&monitor.bus);
    // As a monitor it never answers what it sees, nor replies on its own.
    if (r >= 0) r = sd_bus_set_address(monitor.bus, address.c_str());
    if (r >= 0) r = sd_bus_set_monitor(monitor.bus, 1);
    if (r >= 0) r = sd_bus_set_bus_client(monitor.bus, 1);
    if (r >= 0) r = sd_bus_start(monitor.bus);
    if (r >= 0)
        r = sd_bus_call_method_async(monitor.bus, nullptr, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus.Monitoring", "BecomeMonitor", onBecomeMonitor, &monitor,
                                     "asu", 1, notifyRule, 0u);
    if (r >= 0) monitor.stage = DesktopMonitor::Stage::BecomingMonitor;
    return r;
}

}  // namespace

void serviceDesktopMonitor(DesktopMonitor& monitor, std::chrono::steady_clock::time_point now,
                           std::vector<Notification>& received) {
    if (monitor.stage == DesktopMonitor::Stage::Closed) {
        if (monitor.nextTry && now < *monitor.nextTry) return;
        if (const int r = connect(monitor); r < 0) return fail(monitor, now, "no session bus", -r);
        if (monitor.nextTry) logMessage("Desktop notifications: connected to the session bus");
        monitor.nextTry.reset();
    }
    for (int i = 0; i < maxMessagesPerPass; ++i) {
        sd_bus_message* message = nullptr;
        const int r = sd_bus_process(monitor.bus, &message);
        if (r < 0) return fail(monitor, now, "the session bus connection ended", -r);
        if (message) {
            if (sd_bus_message_is_method_call(message, "org.freedesktop.Notifications", "Notify") > 0) {
                ReadNotification read = readDesktopNotify(message);
                if (!read.why.empty()) logThrottled("Desktop notification %s", read.why.c_str());
                if (read.notification) received.push_back(std::move(*read.notification));
            } else if (sd_bus_message_is_signal(message, "org.freedesktop.DBus.Local", "Disconnected") > 0) {
                sd_bus_message_unref(message);
                return fail(monitor, now, "the session bus connection ended", ECONNRESET);
            }
            sd_bus_message_unref(message);
        }
        if (monitor.stage == DesktopMonitor::Stage::Closed)
            return fail(monitor, now, "the session bus refused to show notifications", EPERM);
        if (r == 0) break;
    }
}

void stopDesktopMonitor(DesktopMonitor& monitor) {
    // Closed without a goodbye (a monitor does not send); the pending
    // request's callback goes with it.
    if (monitor.bus) sd_bus_close_unref(monitor.bus);
    monitor.bus = nullptr;
    monitor.stage = DesktopMonitor::Stage::Closed;
    monitor.eavesdropping = false;
    monitor.nextTry.reset();
}

void desktopMonitorFds(const DesktopMonitor& monitor, std::vector<int>& fds) {
    if (monitor.bus) fds.push_back(sd_bus_get_fd(monitor.bus));
}
