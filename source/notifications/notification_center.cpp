// Notifications from other programs, served from the main loop's pass.
//
// Implemented:
//  - XSOverlay's legacy UDP API on 127.0.0.1:42069 and [::1]:42069 (VRCX and
//    most bridges), icons as base64 PNG/JPEG or a file path
//  - XSOverlay's WebSocket API on ws://127.0.0.1:42070/?client=<App>
//    (SendNotification; other commands ignored)
//  - OVR Toolkit's WebSocket API on ws://127.0.0.1:11450/api
//    (SendNotification, SendWristNotification; keep-alives ignored)
//  - the desktop's org.freedesktop.Notifications.Notify calls, seen by a
//    monitor connection to the session bus (eavesdropping where the bus
//    does not let us monitor)
//  - flood limits per sender and per kind of sender, the toast queue with
//    merging, fades and a fair share of it for each sender
// Missing:
//  - answers to senders: no XSOverlay events, no notification ids or
//    NotificationClosed signals (the desktop's own daemon answers those)
//  - sounds (audioPath is read as a keyword and nothing is played)
//  - Windows: the wing is not built there
//
// Every socket is non-blocking and bound to the loopback addresses only
// (listening TCP sockets take SO_REUSEADDR, for the TIME_WAIT of closed
// connections, nothing else). A pass reads at most 32 datagrams a socket
// and 16 KiB a connection; the flood limits come before any icon is read.
#include "notifications/notification_center.h"

#include <algorithm>
#include <poll.h>
#include <systemd/sd-bus.h>

#include "notifications/desktop_monitor.h"
#include "notifications/rate_limiter.h"
#include "notifications/sender_messages.h"
#include "notifications/udp_listener.h"
#include "notifications/websocket_server.h"
#include "platform/log.h"

struct NotificationCenter {
    NotificationSwitches switches;
    NotificationEndpoints endpoints;
    bool udpOn = false, xsOverlayWebSocketOn = false, ovrToolkitOn = false, desktopOn = false;
    LoopbackPort udp;
    WebSocketServer xsOverlayWebSocket;
    WebSocketServer ovrToolkitWebSocket;
    DesktopMonitor desktop;
    RateLimiter limiter;
    ToastQueue toasts;
    std::vector<pollfd> polled;
};

namespace {


bool sourceOn(const NotificationSwitches& switches, NotificationSource source) {
    if (!switches.enabled) return false;
    switch (source) {
    case NotificationSource::Desktop: return switches.desktop;
    case NotificationSource::XsOverlay: return switches.xsOverlay;
    case NotificationSource::OvrToolkit: return switches.ovrToolkit;
    }
    return false;
}

// Whether any of the fds [first, first + count) of the last poll is ready.
bool ready(const std::vector<pollfd>& polled, std::size_t first, std::size_t count) {
    for (std::size_t i = first; i < first + count && i < polled.size(); ++i)
        if (polled[i].revents) return true;
    return false;
}

bool due(const std::optional<ToastClock::time_point>& nextTry, ToastClock::time_point now) {
    return !nextTry || now >= *nextTry;
}

// The flood limits come first, so that nothing is decoded for what they
// cut, and only a toast that found a place of its own reads its icon.
void accept(NotificationCenter& center, Notification notification, ToastClock::time_point now,
            std::vector<Notification>& accepted) {
    if (!sourceOn(center.switches, notification.source)) return;
    const char* kind = notificationSourceName(notification.source);
    if (!allowNotification(center.limiter, kind, kind + ("/" + notification.sourceName), now)) {
        logThrottled("Notifications from %s '%s' dropped: more than %g a second from one sender or %g from all",
                     kind, notification.sourceName.c_str(), notificationsPerSecond, listenerPerSecond);
        return;
    }
    const QueueResult queued = queueNotification(center.toasts, std::move(notification), now);
    switch (queued.how) {
    case Queued::Placed: {
        const std::string why = readNotificationIcon(queued.toast->notification);
        if (!why.empty()) logThrottled("%s notification from '%s': %s", kind, queued.toast->notification.sourceName.c_str(), why.c_str());
        accepted.push_back(queued.toast->notification);
        break;
    }
    case Queued::Merged: break;
    case Queued::Summed:
        logThrottled("Notification from %s summed up: no place for it among the %zu toasts", kind, maxQueuedToasts);
        break;
    }
}

}  // namespace

void NotificationCenterDeleter::operator()(NotificationCenter* center) const {
    setNotificationSwitches(*center, NotificationSwitches{false, false, false, false});
    delete center;
}

NotificationCenterPointer createNotificationCenter(const NotificationSwitches& switches,
                                                   const NotificationEndpoints& endpoints) {
    NotificationCenterPointer center(new NotificationCenter);
    center->endpoints = endpoints;
    center->udp.protocol = PortProtocol::Udp;
    center->udp.name = "XSOverlay UDP";
    center->udp.requestedPort = endpoints.xsOverlayUdpPort;
    center->desktop.address = endpoints.desktopBusAddress;
    setNotificationSwitches(*center, switches);
    return center;
}

void setNotificationSwitches(NotificationCenter& center, const NotificationSwitches& switches) {
    center.switches = switches;
    const bool xsOverlay = sourceOn(switches, NotificationSource::XsOverlay);
    const bool ovrToolkit = sourceOn(switches, NotificationSource::OvrToolkit);
    const bool desktop = sourceOn(switches, NotificationSource::Desktop);
    if (center.udpOn && !xsOverlay) closeLoopbackPort(center.udp);
    center.udpOn = xsOverlay;
    if (center.xsOverlayWebSocketOn != xsOverlay) {
        if (xsOverlay)
            startWebSocketServer(center.xsOverlayWebSocket, WebSocketApi::XsOverlay, center.endpoints.xsOverlayWebSocketPort);
        else
            stopWebSocketServer(center.xsOverlayWebSocket);
        center.xsOverlayWebSocketOn = xsOverlay;
    }
    if (center.ovrToolkitOn != ovrToolkit) {
        if (ovrToolkit)
            startWebSocketServer(center.ovrToolkitWebSocket, WebSocketApi::OvrToolkit,
                                 center.endpoints.ovrToolkitWebSocketPort);
        else
            stopWebSocketServer(center.ovrToolkitWebSocket);
        center.ovrToolkitOn = ovrToolkit;
    }
    if (center.desktopOn && !desktop) stopDesktopMonitor(center.desktop);
    center.desktopOn = desktop;
    // A toast that comes to the front starts with the next look at the queue.
    auto& queued = center.toasts.toasts;
    queued.erase(std::remove_if(queued.begin(), queued.end(),
                                [&](const Toast& toast) { return !sourceOn(switches, toast.notification.source); }),
                 queued.end());
}

std::vector<Notification> serviceNotificationListeners(NotificationCenter& center, ToastClock::time_point now) {
    // One poll over every socket tells which listeners have anything.
    auto& polled = center.polled;
    polled.clear();
    const std::size_t udpFirst = polled.size();
    for (int fd : center.udp.fds) polled.push_back({fd, POLLIN, 0});
    const std::size_t udpCount = polled.size() - udpFirst;
    const std::size_t desktopFirst = polled.size();
    if (center.desktop.bus)
        polled.push_back({sd_bus_get_fd(center.desktop.bus), static_cast<short>(sd_bus_get_events(center.desktop.bus)), 0});
    std::vector<int> webSocketFds;
    if (center.xsOverlayWebSocketOn) webSocketFds.insert(webSocketFds.end(), center.xsOverlayWebSocket.port.fds.begin(),
                                                          center.xsOverlayWebSocket.port.fds.end());
    if (center.ovrToolkitOn) webSocketFds.insert(webSocketFds.end(), center.ovrToolkitWebSocket.port.fds.begin(),
                                                  center.ovrToolkitWebSocket.port.fds.end());
    const std::size_t webSocketFirst = polled.size();
    for (int fd : webSocketFds) polled.push_back({fd, POLLIN, 0});
    if (!polled.empty()) poll(polled.data(), polled.size(), 0);

    std::vector<Notification> received;
    if (center.udpOn && (center.udp.fds.empty() ? due(center.udp.nextTry, now) : ready(polled, udpFirst, udpCount))) {
        keepLoopbackPortOpen(center.udp, now);
        readXsOverlayDatagrams(center.udp, received);
    }
    const bool webSocketReady = ready(polled, webSocketFirst, webSocketFds.size());
    for (auto [on, server] : {std::pair{center.xsOverlayWebSocketOn, &center.xsOverlayWebSocket},
                              std::pair{center.ovrToolkitOn, &center.ovrToolkitWebSocket}}) {
        if (on && (webSocketReady || !server->connections.empty() ||
                   (server->port.fds.empty() && due(server->port.nextTry, now))))
            serviceWebSocketServer(*server, now, received);
    }
    const bool desktopWaiting = center.desktop.stage != DesktopMonitor::Stage::Listening;
    if (center.desktopOn && (ready(polled, desktopFirst, center.desktop.bus ? 1 : 0) ||
                             (desktopWaiting && due(center.desktop.nextTry, now))))
        serviceDesktopMonitor(center.desktop, now, received);

    std::vector<Notification> accepted;
    for (Notification& notification : received) accept(center, std::move(notification), now, accepted);
    return accepted;
}

ToastView currentNotificationToast(NotificationCenter& center, ToastClock::time_point now) {
    advanceToasts(center.toasts, now);
    return currentToast(center.toasts, now);
}

NotificationWait notificationWait(const NotificationCenter& center, ToastClock::time_point now) {
    NotificationWait wait;
    wait.fds.insert(wait.fds.end(), center.udp.fds.begin(), center.udp.fds.end());
    webSocketServerFds(center.xsOverlayWebSocket, wait.fds);
    webSocketServerFds(center.ovrToolkitWebSocket, wait.fds);
    desktopMonitorFds(center.desktop, wait.fds);
    auto sooner = [&](std::optional<ToastClock::time_point> time) {
        if (time && (!wait.serveBy || *time < *wait.serveBy)) wait.serveBy = time;
    };
    // Something to open is due at its next try, or now when it has none.
    auto opening = [&](const std::optional<ToastClock::time_point>& nextTry) { sooner(nextTry.value_or(now)); };
    if (center.udpOn && center.udp.fds.empty()) opening(center.udp.nextTry);
    for (const WebSocketServer* server : {&center.xsOverlayWebSocket, &center.ovrToolkitWebSocket}) {
        if (server->started && server->port.fds.empty()) opening(server->port.nextTry);
        sooner(webSocketServerDue(*server));
    }
    if (center.desktopOn && center.desktop.stage == DesktopMonitor::Stage::Closed) opening(center.desktop.nextTry);
    sooner(currentToastEnds(center.toasts));
    return wait;
}

NotificationPortsBound notificationPortsBound(const NotificationCenter& center) {
    return {center.udp.port, center.xsOverlayWebSocket.port.port, center.ovrToolkitWebSocket.port.port};
}
