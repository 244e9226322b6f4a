#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "notifications/notification.h"

typedef struct sd_bus sd_bus;

// Watches the session bus for the Notify calls that applications make to the
// desktop's notification daemon, on a connection of its own that becomes a
// monitor (org.freedesktop.DBus.Monitoring.BecomeMonitor) or, where the bus
// refuses that, eavesdrops (AddMatch with eavesdrop='true'). After that one
// request the connection never sends: a monitor only listens. A bus that is
// gone or refuses both is tried again every 30 s.
struct DesktopMonitor {
    enum class Stage { Closed, BecomingMonitor, Eavesdropping, Listening };
    std::string address;  // a D-Bus address; empty: the session bus of the environment
    sd_bus* bus = nullptr;
    Stage stage = Stage::Closed;
    bool eavesdropping = false;  // listening through AddMatch, not as a monitor
    std::optional<std::chrono::steady_clock::time_point> nextTry;
};

// Connects when closed and due, and reads what the bus sent, adding the
// desktop notifications among it.
void serviceDesktopMonitor(DesktopMonitor& monitor, std::chrono::steady_clock::time_point now,
                           std::vector<Notification>& received);

// Closes the connection; the next service connects at once.
void stopDesktopMonitor(DesktopMonitor& monitor);

// The connection's socket, to wait on (none while closed).
void desktopMonitorFds(const DesktopMonitor& monitor, std::vector<int>& fds);
