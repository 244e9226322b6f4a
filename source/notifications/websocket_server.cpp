#include "notifications/websocket_server.h"

#include <cerrno>
#include <cstring>
#include <libwebsockets.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include "notifications/plain_text.h"
#include "notifications/sender_messages.h"
#include "platform/log.h"

namespace {

// Web pages may not talk to us (a page's script can reach the loopback
// address); Discord's desktop app may, for the Vencord plugin.
const char* const allowedOrigins[] = {"https://discord.com", "https://ptb.discord.com",
                                      "https://canary.discord.com"};
// A connection that has not finished its handshake by then is closed.
constexpr unsigned handshakeTimeoutSeconds = 10;
constexpr int maxClientNameBytes = 128;
// Connections accepted in one pass at most.
constexpr int maxAcceptsPerPass = 8;

const char* apiName(WebSocketApi api) {
    return api == WebSocketApi::XsOverlay ? "XSOverlay WebSocket" : "OVR Toolkit WebSocket";
}

WebSocketServer& serverOf(lws* wsi) {
    return *static_cast<WebSocketServer*>(lws_context_user(lws_get_context(wsi)));
}

std::string header(lws* wsi, lws_token_indexes token) {
    const int length = lws_hdr_total_length(wsi, token);
    if (length <= 0) return {};
    std::string value(static_cast<std::size_t>(length) + 1, '\0');
    if (lws_hdr_copy(wsi, &value[0], length + 1, token) < 0) return {};
    value.resize(static_cast<std::size_t>(length));
    return value;
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

// Why the handshake is refused, or empty when it may go on; the XSOverlay
// client's name goes into the connection.
std::string refusal(lws* wsi, WebSocketServer& server, WebSocketConnection& connection) {
    const std::string path = header(wsi, WSI_TOKEN_GET_URI);
    const bool xsOverlay = server.api == WebSocketApi::XsOverlay;
    if (path != (xsOverlay ? "/" : "/api")) return "path '" + plainText(path, 64) + "'";
    const std::string host = header(wsi, WSI_TOKEN_HOST);
    if (!hostIsLoopback(host, server.port.port)) return "Host '" + plainText(host, 64) + "'";
    const std::string origin = header(wsi, WSI_TOKEN_ORIGIN);
    if (lws_hdr_total_length(wsi, WSI_TOKEN_ORIGIN) > 0 && !originAllowed(origin))
        return "Origin '" + plainText(origin, 64) + "'";
    if (xsOverlay) {
        char argument[maxClientNameBytes];
        const char* client = lws_get_urlarg_by_name(wsi, "client=", argument, sizeof argument);
        connection.clientName = client ? plainText(client, maxSourceNameCharacters) : std::string();
        if (connection.clientName.empty()) return "no ?client= name";
    }
    return {};
}

void receive(lws* wsi, WebSocketServer& server, WebSocketConnection& connection, const char* data,
             std::size_t length) {
    if (lws_frame_is_binary(wsi)) {
        if (lws_is_final_fragment(wsi)) logMessage("%s message refused: binary", apiName(server.api));
        return;
    }
    connection.message.append(data, length);
    if (!lws_is_final_fragment(wsi) || lws_remaining_packet_payload(wsi) > 0) return;
    const std::optional<Notification> notification =
        server.api == WebSocketApi::XsOverlay ? readXsOverlayWebSocketMessage(connection.message, connection.clientName)
                                              : readOvrToolkitMessage(connection.message);
    connection.message.clear();
    if (notification && server.received) server.received->push_back(*notification);
}

int serve(lws* wsi, lws_callback_reasons reason, void*, void* in, std::size_t length) {
    if (reason == LWS_CALLBACK_WSI_DESTROY) {
        serverOf(wsi).connections.erase(wsi);
        return 0;
    }
    if (reason != LWS_CALLBACK_HTTP_CONFIRM_UPGRADE && reason != LWS_CALLBACK_HTTP &&
        reason != LWS_CALLBACK_RECEIVE)
        return 0;
    WebSocketServer& server = serverOf(wsi);
    const auto connection = server.connections.find(wsi);
    if (connection == server.connections.end()) return -1;
    switch (reason) {
    case LWS_CALLBACK_HTTP_CONFIRM_UPGRADE: {
        const std::string why = refusal(wsi, server, connection->second);
        if (why.empty()) return 0;
        // Hung up without an answer: nothing here talks to strangers.
        logMessage("%s: handshake refused: %s", apiName(server.api), why.c_str());
        return -1;
    }
    case LWS_CALLBACK_HTTP:
        // Plain HTTP requests get nothing either.
        return -1;
    case LWS_CALLBACK_RECEIVE:
        if (connection->second.message.size() + length > maxWebSocketMessageBytes) {
            logMessage("%s message refused: more than %zu bytes; connection closed", apiName(server.api),
                       maxWebSocketMessageBytes);
            lws_close_reason(wsi, LWS_CLOSE_STATUS_MESSAGE_TOO_LARGE, nullptr, 0);
            return -1;
        }
        receive(wsi, server, connection->second, static_cast<const char*>(in), length);
        return 0;
    default:
        return 0;
    }
}

const lws_protocols protocols[] = {
    {"horlox-notifications", serve, 0, 0, 0, nullptr, 0},
    {nullptr, nullptr, 0, 0, 0, nullptr, 0},
};

// libwebsockets' own errors join our log; its chatter stays out.
void logLibraryLine(int, const char* line) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    logMessage("libwebsockets: %s", text.c_str());
}

void acceptWaiting(WebSocketServer& server) {
    lws_vhost* vhost = lws_get_vhost_by_name(server.context, "default");
    for (int listening : server.port.fds) {
        for (int i = 0; i < maxAcceptsPerPass; ++i) {
            const int fd = accept4(listening, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) break;
            if (server.connections.size() >= maxWebSocketConnections) {
                logMessage("%s: connection refused: %zu open already", apiName(server.api), server.connections.size());
                close(fd);
                continue;
            }
            // Known from here on; its first callbacks that need it come later.
            lws* wsi = lws_adopt_socket_vhost(vhost, fd);
            if (wsi) server.connections[wsi];
        }
    }
}

}  // namespace

void startWebSocketServer(WebSocketServer& server, WebSocketApi api, int port) {
    server.api = api;
    server.port.protocol = PortProtocol::Tcp;
    server.port.name = apiName(api);
    server.port.requestedPort = port;
    lws_set_log_level(LLL_ERR, logLibraryLine);
    lws_context_creation_info info{};
    info.port = CONTEXT_PORT_NO_LISTEN_SERVER;
    info.protocols = protocols;
    info.user = &server;
    info.timeout_secs = handshakeTimeoutSeconds;
    // Our connections, the library's own pipe and a few spare.
    info.fd_limit_per_thread = maxWebSocketConnections + maxAcceptsPerPass + 8;
    info.gid = -1;
    info.uid = -1;
    server.context = lws_create_context(&info);
    if (!server.context) logMessage("%s: libwebsockets did not start", apiName(api));
}

void serviceWebSocketServer(WebSocketServer& server, std::chrono::steady_clock::time_point now,
                            std::vector<Notification>& received) {
    if (!server.context || !keepLoopbackPortOpen(server.port, now)) return;
    acceptWaiting(server);
    if (server.connections.empty()) return;
    server.received = &received;
    // A negative timeout serves what is pending without waiting.
    lws_service(server.context, -1);
    server.received = nullptr;
}

void stopWebSocketServer(WebSocketServer& server) {
    if (server.context) lws_context_destroy(server.context);
    server.context = nullptr;
    server.connections.clear();
    closeLoopbackPort(server.port);
}

void webSocketServerFds(const WebSocketServer& server, std::vector<int>& fds) {
    fds.insert(fds.end(), server.port.fds.begin(), server.port.fds.end());
    for (const auto& connection : server.connections) fds.push_back(lws_get_socket_fd(connection.first));
}
