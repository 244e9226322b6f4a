#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "notifications/loopback_port.h"
#include "notifications/notification.h"
#include "notifications/websocket_protocol.h"

// A WebSocket server for one sender API on a loopback port. We accept the
// connections and read handshakes and frames ourselves (websocket_protocol.h),
// from the main loop's pass and never blocking; its clocks are the passes'
// 'now'.
enum class WebSocketApi {
    XsOverlay,   // ws://127.0.0.1:42070/?client=<App>
    OvrToolkit,  // ws://127.0.0.1:11450/api
};

constexpr int xsOverlayWebSocketPort = 42070;
constexpr int ovrToolkitWebSocketPort = 11450;
constexpr std::size_t maxWebSocketMessageBytes = 1024 * 1024;

// Loopback clients cannot be told apart by address (each is 127.0.0.1 or ::1
// on a port of the moment), so a client is its connection, and XSOverlay's
// ?client= name is what it says it is: that proves nothing, but it keeps one
// name from taking every slot. So that nobody can shut the others out:
// - a few handshakes at once, a newcomer closing the oldest (a real client
//   sends its request as it connects), and each cut short after a while;
// - a few connections per ?client= name, a newcomer closing the quietest;
// - with every slot taken, the connection that has been quiet (no
//   notification) the longest gives way to a newcomer, once it has had its
//   grace; a friend that connects and sends at once stays while an idle one
//   goes.
constexpr std::size_t maxWebSocketConnections = 16;
constexpr std::size_t maxWebSocketHandshakes = 4;
constexpr std::size_t maxWebSocketConnectionsPerName = 4;
constexpr std::chrono::seconds webSocketHandshakeTimeout{3};
constexpr std::chrono::seconds webSocketGrace{2};
// A connection silent for a while is pinged: browsers and client libraries
// answer by themselves, so a live client with nothing to say stays (the
// Vencord plugin connects as it starts and need not connect again once
// closed). One that does not answer either is closed. VRCX sends a
// keep-alive every 5 s.
constexpr std::chrono::seconds webSocketPingAfter{15};
constexpr std::chrono::seconds webSocketIdleTimeout{30};

enum class WebSocketStage {
    Handshake,
    Open,
    Closing,  // our close frame sent: read until the client closes too, or a while
};

struct WebSocketConnection {
    int fd = -1;  // -1 once closed
    WebSocketStage stage = WebSocketStage::Handshake;
    std::string clientName;    // XSOverlay's ?client=
    std::string input;         // received and not read yet
    WebSocketMessage message;  // the fragments of the message being received
    std::chrono::steady_clock::time_point since;       // accepted, or closing from
    std::chrono::steady_clock::time_point heardFrom;   // last received anything
    std::chrono::steady_clock::time_point quietSince;  // last notification, or accepted
    bool pinged = false;
};

struct WebSocketServer {
    WebSocketApi api = WebSocketApi::XsOverlay;
    LoopbackPort port;
    bool started = false;
    std::vector<WebSocketConnection> connections;
};

// The server's port, ready to be served. 'port' 0 takes any free port.
void startWebSocketServer(WebSocketServer& server, WebSocketApi api, int port);

// Binds the port if it is not (see loopback_port.h), serves the open
// connections and accepts waiting ones, adding the notifications received.
void serviceWebSocketServer(WebSocketServer& server, std::chrono::steady_clock::time_point now,
                            std::vector<Notification>& received);

// Closes every connection (going away) and the port.
void stopWebSocketServer(WebSocketServer& server);

// The listening sockets and the connections' sockets, to wait on.
void webSocketServerFds(const WebSocketServer& server, std::vector<int>& fds);

// When a connection needs serving though nothing arrives (its handshake's
// time is up, it is due a ping or its close, it has lingered enough); none
// without connections.
std::optional<std::chrono::steady_clock::time_point> webSocketServerDue(const WebSocketServer& server);
