#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "notifications/loopback_port.h"
#include "notifications/notification.h"

struct lws;
struct lws_context;

// A WebSocket server for one sender API on a loopback port, served by
// libwebsockets on connections that we accept ourselves (so that the
// listening socket is bound as loopback_port.h says, without reuse flags).
enum class WebSocketApi {
    XsOverlay,   // ws://127.0.0.1:42070/?client=<App>
    OvrToolkit,  // ws://127.0.0.1:11450/api
};

constexpr int xsOverlayWebSocketPort = 42070;
constexpr int ovrToolkitWebSocketPort = 11450;
constexpr std::size_t maxWebSocketMessageBytes = 1024 * 1024;
constexpr std::size_t maxWebSocketConnections = 16;

struct WebSocketConnection {
    std::string clientName;  // XSOverlay's ?client=
    std::string message;     // the fragments of the message being received
};

struct WebSocketServer {
    WebSocketApi api = WebSocketApi::XsOverlay;
    LoopbackPort port;
    lws_context* context = nullptr;
    std::map<lws*, WebSocketConnection> connections;  // accepted, until libwebsockets drops them
    std::vector<Notification>* received = nullptr;    // while being served
};

// The server's port and library state, ready to be served; the server must
// not move while started. 'port' 0 takes any free port.
void startWebSocketServer(WebSocketServer& server, WebSocketApi api, int port);

// Binds the port if it is not (see loopback_port.h), accepts waiting
// connections (beyond maxWebSocketConnections they are closed at once) and
// serves the open ones, adding the notifications received.
void serviceWebSocketServer(WebSocketServer& server, std::chrono::steady_clock::time_point now,
                            std::vector<Notification>& received);

// Closes every connection and the port.
void stopWebSocketServer(WebSocketServer& server);

// The listening sockets and the connections' sockets, to wait on.
void webSocketServerFds(const WebSocketServer& server, std::vector<int>& fds);
