#include "notifications/websocket_server.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <functional>
#include <optional>
#include <string_view>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include "notifications/plain_text.h"
#include "notifications/sender_messages.h"
#include "platform/log.h"

namespace {

using Clock = std::chrono::steady_clock;

// Web pages may not talk to us (a page's script can reach the loopback
// address); Discord's desktop app may, for the Vencord plugin.
const char* const allowedOrigins[] = {"https://discord.com", "https://ptb.discord.com",
                                      "https://canary.discord.com"};
constexpr std::size_t maxRequestBytes = 8192;
// Read from each connection in a pass at most.
constexpr std::size_t readChunkBytes = 16 * 1024;
// After our close frame the client's bytes are still read (and dropped) for
// this long: closing on unread bytes would send a reset that can destroy the
// close frame before the client reads it.
constexpr std::chrono::seconds lingerTime{1};

const char* apiName(WebSocketApi api) {
    return api == WebSocketApi::XsOverlay ? "XSOverlay WebSocket" : "OVR Toolkit WebSocket";
}

// DNS rebinding would bring a page's own host name here.
bool hostIsLoopback(const std::string& host, int port) {
    const std::string suffix = ":" + std::to_string(port);
    if (host.size() <= suffix.size() || host.compare(host.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string name = host.substr(0, host.size() - suffix.size());
    return name == "127.0.0.1" || name == "[::1]" || strcasecmp(name.c_str(), "localhost") == 0;
}

bool originAllowed(const std::string& origin) {
    for (const char* allowed : allowedOrigins)
        if (origin == allowed) return true;
    return false;
}

// The query's argument of that name, percent-decoded; empty when it has none.
std::string queryArgument(std::string_view query, std::string_view name) {
    while (!query.empty()) {
        const std::size_t ampersand = query.find('&');
        const std::string_view part = query.substr(0, ampersand);
        query.remove_prefix(ampersand == std::string_view::npos ? query.size() : ampersand + 1);
        if (part.size() <= name.size() || part.substr(0, name.size()) != name || part[name.size()] != '=') continue;
        std::string value;
        for (std::size_t i = name.size() + 1; i < part.size(); ++i) {
            if (part[i] == '%' && i + 2 < part.size() && std::isxdigit(static_cast<unsigned char>(part[i + 1])) &&
                std::isxdigit(static_cast<unsigned char>(part[i + 2]))) {
                value += static_cast<char>(std::stoi(std::string(part.substr(i + 1, 2)), nullptr, 16));
                i += 2;
            } else {
                value += part[i] == '+' ? ' ' : part[i];
            }
        }
        return value;
    }
    return {};
}

// Why the handshake is refused, or empty when it may go on; the XSOverlay
// client's name goes into the connection.
std::string refusal(const WebSocketServer& server, const WebSocketRequest& request, WebSocketConnection& connection) {
    if (!request.refusal.empty()) return request.refusal;
    const bool xsOverlay = server.api == WebSocketApi::XsOverlay;
    if (request.path != (xsOverlay ? "/" : "/api")) return "path '" + plainText(request.path, 64) + "'";
    if (!hostIsLoopback(request.host, server.port.port)) return "Host '" + plainText(request.host, 64) + "'";
    if (request.hasOrigin && !originAllowed(request.origin)) return "Origin '" + plainText(request.origin, 64) + "'";
    if (xsOverlay) {
        connection.clientName = plainText(queryArgument(request.query, "client"), maxSourceNameCharacters);
        if (connection.clientName.empty()) return "no ?client= name";
    }
    return {};
}

// Our writes are a few bytes each; a client that does not read them loses
// the connection rather than making us keep them.
bool sendAll(int fd, const std::string& bytes) {
    return send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT) == static_cast<ssize_t>(bytes.size());
}

void closeNow(WebSocketConnection& connection) {
    close(connection.fd);
    connection.fd = -1;
}

// Sends our close frame and lingers until the client closes too.
void closeWith(WebSocketConnection& connection, std::uint16_t status, Clock::time_point now) {
    if (!sendAll(connection.fd, webSocketCloseFrame(status)) || shutdown(connection.fd, SHUT_WR) != 0) {
        closeNow(connection);
        return;
    }
    connection.stage = WebSocketStage::Closing;
    connection.since = now;
    connection.input.clear();
}

// Closes one of the connections chosen to make room: one closing anyway, or
// else the one quiet the longest once it has had its grace. False when none
// may go.
bool makeRoom(WebSocketServer& server, Clock::time_point now,
              const std::function<bool(const WebSocketConnection&)>& chosen) {
    WebSocketConnection* leaving = nullptr;
    for (WebSocketConnection& connection : server.connections) {
        if (connection.fd < 0 || !chosen(connection)) continue;
        if (connection.stage == WebSocketStage::Closing) {
            leaving = &connection;
            break;
        }
        if (now - connection.quietSince >= webSocketGrace && (!leaving || connection.quietSince < leaving->quietSince))
            leaving = &connection;
    }
    if (!leaving) return false;
    if (leaving->stage != WebSocketStage::Closing)
        logThrottled("%s: the connection quiet the longest closed to make room", apiName(server.api));
    if (leaving->stage == WebSocketStage::Open) sendAll(leaving->fd, webSocketCloseFrame(webSocketTryAgainLater));
    closeNow(*leaving);
    return true;
}

void handshake(WebSocketServer& server, WebSocketConnection& connection, Clock::time_point now) {
    const std::size_t end = connection.input.find("\r\n\r\n");
    std::string why;
    WebSocketRequest request;
    if (end == std::string::npos || end + 4 > maxRequestBytes) {
        if (connection.input.size() <= maxRequestBytes) return;
        why = "request over " + std::to_string(maxRequestBytes) + " bytes";
    } else {
        request = readWebSocketRequest(std::string_view(connection.input).substr(0, end + 4));
        why = refusal(server, request, connection);
    }
    const std::string& name = connection.clientName;
    const auto sameName = [&](const WebSocketConnection& other) {
        return other.stage == WebSocketStage::Open && other.clientName == name;
    };
    if (why.empty() && !name.empty() &&
        std::size_t(std::count_if(server.connections.begin(), server.connections.end(), sameName)) >=
            maxWebSocketConnectionsPerName &&
        !makeRoom(server, now, sameName))
        why = std::to_string(maxWebSocketConnectionsPerName) + " connections from '" + name + "' already";
    // Hung up without an answer: nothing here talks to strangers.
    if (!why.empty()) {
        logThrottled("%s: handshake refused: %s", apiName(server.api), why.c_str());
        closeNow(connection);
        return;
    }
    if (!sendAll(connection.fd, webSocketHandshakeAnswer(request.key))) {
        closeNow(connection);
        return;
    }
    connection.input.erase(0, end + 4);
    connection.stage = WebSocketStage::Open;
}

void readFrames(WebSocketServer& server, WebSocketConnection& connection, Clock::time_point now,
                std::vector<Notification>& received) {
    std::string_view rest = connection.input;
    std::optional<std::string> pong;
    for (;;) {
        WebSocketEvent event = readWebSocketFrame(rest, connection.message, maxWebSocketMessageBytes);
        switch (event.kind) {
        case WebSocketEventKind::Incomplete: break;
        case WebSocketEventKind::Text: {
            ReadNotification read = server.api == WebSocketApi::XsOverlay
                                        ? readXsOverlayWebSocketMessage(event.payload, connection.clientName)
                                        : readOvrToolkitMessage(event.payload);
            if (!read.why.empty()) logThrottled("%s %s", apiName(server.api), read.why.c_str());
            if (read.notification) {
                received.push_back(std::move(*read.notification));
                connection.quietSince = now;
            }
            continue;
        }
        case WebSocketEventKind::Binary:
            logThrottled("%s message refused: binary", apiName(server.api));
            continue;
        case WebSocketEventKind::Ping:
            // Only the last is answered, as RFC 6455 5.5.3 allows.
            pong = std::move(event.payload);
            continue;
        case WebSocketEventKind::Pong: continue;
        case WebSocketEventKind::Close: closeWith(connection, event.status, now); return;
        case WebSocketEventKind::Failed:
            logThrottled("%s: connection closed: %s", apiName(server.api), event.why);
            closeWith(connection, event.status, now);
            return;
        }
        break;
    }
    connection.input.erase(0, connection.input.size() - rest.size());
    if (pong && !sendAll(connection.fd, webSocketControlFrame(webSocketPong, *pong))) closeNow(connection);
}

void serveConnection(WebSocketServer& server, WebSocketConnection& connection, Clock::time_point now,
                     std::vector<Notification>& received) {
    char buffer[readChunkBytes];
    const ssize_t got = recv(connection.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        closeNow(connection);
        return;
    }
    if (got > 0) {
        connection.heardFrom = now;
        connection.pinged = false;
    }
    switch (connection.stage) {
    case WebSocketStage::Closing:
        if (now - connection.since >= lingerTime) closeNow(connection);
        return;
    case WebSocketStage::Handshake:
        connection.input.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        handshake(server, connection, now);
        if (connection.stage == WebSocketStage::Open) readFrames(server, connection, now, received);
        break;
    case WebSocketStage::Open:
        connection.input.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        readFrames(server, connection, now, received);
        break;
    }
    if (connection.fd < 0) return;
    if (connection.stage == WebSocketStage::Handshake && now - connection.since >= webSocketHandshakeTimeout) {
        logThrottled("%s: handshake not done in %d s; connection closed", apiName(server.api),
                     static_cast<int>(webSocketHandshakeTimeout.count()));
        closeNow(connection);
    } else if (connection.stage == WebSocketStage::Open && now - connection.heardFrom >= webSocketIdleTimeout) {
        logThrottled("%s: connection closed after %d s without a word", apiName(server.api),
                     static_cast<int>(webSocketIdleTimeout.count()));
        closeWith(connection, webSocketGoingAway, now);
    } else if (connection.stage == WebSocketStage::Open && now - connection.heardFrom >= webSocketPingAfter &&
               !connection.pinged) {
        connection.pinged = true;
        if (!sendAll(connection.fd, webSocketControlFrame(webSocketPing, ""))) closeNow(connection);
    }
}

std::size_t countOf(const WebSocketServer& server, bool (*which)(const WebSocketConnection&)) {
    return std::size_t(std::count_if(server.connections.begin(), server.connections.end(), which));
}

// At most as many a pass as handshakes may wait, so that no newcomer pushes
// out another that came in the same pass before its request could be read.
void acceptWaiting(WebSocketServer& server, Clock::time_point now, std::vector<Notification>& received) {
    std::size_t accepted = 0;
    for (int listening : server.port.fds) {
        while (accepted < maxWebSocketHandshakes) {
            const int fd = accept4(listening, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) break;
            ++accepted;
            const auto waiting = [](const WebSocketConnection& c) { return c.fd >= 0 && c.stage == WebSocketStage::Handshake; };
            const auto live = [](const WebSocketConnection& c) { return c.fd >= 0; };
            if (countOf(server, waiting) >= maxWebSocketHandshakes) {
                auto oldest = server.connections.end();
                for (auto it = server.connections.begin(); it != server.connections.end(); ++it)
                    if (waiting(*it) && (oldest == server.connections.end() || it->since < oldest->since)) oldest = it;
                logThrottled("%s: the oldest handshake cut short for a newcomer", apiName(server.api));
                closeNow(*oldest);
            } else if (countOf(server, live) >= maxWebSocketConnections &&
                       !makeRoom(server, now, [](const WebSocketConnection&) { return true; })) {
                logThrottled("%s: connection refused: %zu open already", apiName(server.api), maxWebSocketConnections);
                close(fd);
                continue;
            }
            WebSocketConnection& connection = server.connections.emplace_back();
            connection.fd = fd;
            connection.since = connection.heardFrom = connection.quietSince = now;
            // Its request may be here already.
            serveConnection(server, connection, now, received);
        }
    }
}

}  // namespace

void startWebSocketServer(WebSocketServer& server, WebSocketApi api, int port) {
    server.api = api;
    server.port.protocol = PortProtocol::Tcp;
    server.port.name = apiName(api);
    server.port.requestedPort = port;
    server.started = true;
}

void serviceWebSocketServer(WebSocketServer& server, Clock::time_point now, std::vector<Notification>& received) {
    if (!server.started || !keepLoopbackPortOpen(server.port, now)) return;
    // The known connections first: a request that is here is read before a
    // newcomer could push out its handshake.
    for (WebSocketConnection& connection : server.connections)
        if (connection.fd >= 0) serveConnection(server, connection, now, received);
    acceptWaiting(server, now, received);
    server.connections.erase(std::remove_if(server.connections.begin(), server.connections.end(),
                                            [](const WebSocketConnection& c) { return c.fd < 0; }),
                             server.connections.end());
}

void stopWebSocketServer(WebSocketServer& server) {
    for (WebSocketConnection& connection : server.connections) {
        if (connection.fd < 0) continue;
        if (connection.stage == WebSocketStage::Open) sendAll(connection.fd, webSocketCloseFrame(webSocketGoingAway));
        close(connection.fd);
    }
    server.connections.clear();
    closeLoopbackPort(server.port);
    server.started = false;
}

void webSocketServerFds(const WebSocketServer& server, std::vector<int>& fds) {
    fds.insert(fds.end(), server.port.fds.begin(), server.port.fds.end());
    for (const WebSocketConnection& connection : server.connections)
        if (connection.fd >= 0) fds.push_back(connection.fd);
}

std::optional<Clock::time_point> webSocketServerDue(const WebSocketServer& server) {
    std::optional<Clock::time_point> due;
    for (const WebSocketConnection& connection : server.connections) {
        Clock::time_point next;
        switch (connection.stage) {
        case WebSocketStage::Handshake: next = connection.since + webSocketHandshakeTimeout; break;
        case WebSocketStage::Open:
            next = connection.heardFrom + (connection.pinged ? webSocketIdleTimeout : webSocketPingAfter);
            break;
        case WebSocketStage::Closing: next = connection.since + lingerTime; break;
        }
        if (connection.fd >= 0 && (!due || next < *due)) due = next;
    }
    return due;
}
