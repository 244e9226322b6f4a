#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notifications/notification.h"
#include "notifications/toast_queue.h"

// Notifications from other programs, for the watch to show as toasts: the
// one header the program needs. Everything runs in the caller's thread, in
// the main loop's pass; see notification_center.cpp for what is served.

// What the menu switches; everything on unless switched off.
struct NotificationSwitches {
    bool enabled = true;     // "Notifications: On / Off": off closes every listener
    bool desktop = true;     // the desktop's notifications (D-Bus)
    bool xsOverlay = true;   // XSOverlay's senders (UDP and WebSocket)
    bool ovrToolkit = true;  // OVR Toolkit's senders (WebSocket)
};

// Where to listen: the senders' own ports unless told otherwise; 0 takes
// any free port (tests, beside a real overlay).
struct NotificationEndpoints {
    int xsOverlayUdpPort = 42069;
    int xsOverlayWebSocketPort = 42070;
    int ovrToolkitWebSocketPort = 11450;
    std::string desktopBusAddress;  // a D-Bus address; empty: the session bus
};

struct NotificationCenter;
struct NotificationCenterDeleter {
    void operator()(NotificationCenter* center) const;
};
using NotificationCenterPointer = std::unique_ptr<NotificationCenter, NotificationCenterDeleter>;

// Nothing listens until the first service pass.
NotificationCenterPointer createNotificationCenter(const NotificationSwitches& switches,
                                                   const NotificationEndpoints& endpoints = {});

// Opens the listeners switched on (in the next pass) and closes the others at
// once, dropping their waiting toasts.
void setNotificationSwitches(NotificationCenter& center, const NotificationSwitches& switches);

// One pass: binds what is due (a taken port is tried every 30 s), reads
// what arrived, queues it as toasts and returns it: the notifications that
// passed the switches, the flood limits and the queue's room. Costs one
// poll() while nothing arrives.
std::vector<Notification> serviceNotificationListeners(NotificationCenter& center, ToastClock::time_point now);

// The toast to show at 'now' and how opaque; finished toasts leave the queue.
ToastView currentNotificationToast(NotificationCenter& center, ToastClock::time_point now);

// For a main loop that waits instead of polling: the sockets to wait on for
// reading (and the time after which to serve anyway: retries, connections
// due a close or a ping, a toast's end).
struct NotificationWait {
    std::vector<int> fds;
    std::optional<ToastClock::time_point> serveBy;
};
NotificationWait notificationWait(const NotificationCenter& center, ToastClock::time_point now);

// The ports bound at the moment, 0 where none is (switched off, or taken).
struct NotificationPortsBound {
    int xsOverlayUdp = 0;
    int xsOverlayWebSocket = 0;
    int ovrToolkitWebSocket = 0;
};
NotificationPortsBound notificationPortsBound(const NotificationCenter& center);
