#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The WebSocket protocol (RFC 6455) as a server reads it from a client: the
// opening handshake's request and the frames after it. Both read strictly,
// so that nothing a client sends is taken in a way it did not mean.

// An HTTP/1.1 request to upgrade to WebSocket, version 13.
struct WebSocketRequest {
    std::string refusal;  // why it is no such request; empty when it is one
    std::string path;     // the target without its query
    std::string query;    // after '?', as sent
    std::string host;
    std::string origin;
    bool hasOrigin = false;
    std::string key;      // Sec-WebSocket-Key
};

// Reads a request's head: the request line and the header lines, each ending
// in CR LF, then the empty line.
WebSocketRequest readWebSocketRequest(std::string_view head);

// The answer that completes the handshake for the client's key.
std::string webSocketHandshakeAnswer(std::string_view key);

enum class WebSocketEventKind { Incomplete, Text, Binary, Ping, Pong, Close, Failed };

struct WebSocketEvent {
    WebSocketEventKind kind = WebSocketEventKind::Incomplete;
    std::string payload;       // a whole message, or a ping's data to send back
    std::uint16_t status = 0;  // Close: the status to answer with; Failed: the status to close with
    const char* why = "";      // Failed: what was wrong, for the log
};

// The message whose fragments are being received.
struct WebSocketMessage {
    bool open = false;
    bool binary = false;
    std::string data;
};

constexpr std::uint16_t webSocketNormalClosure = 1000;
constexpr std::uint16_t webSocketGoingAway = 1001;
constexpr std::uint16_t webSocketProtocolError = 1002;
constexpr std::uint16_t webSocketInvalidText = 1007;
constexpr std::uint16_t webSocketMessageTooBig = 1009;
constexpr std::uint16_t webSocketTryAgainLater = 1013;

// Takes whole frames from the front of 'input' until one tells something: a
// message once its last fragment is in, a control frame, or the first fault,
// after which the connection is to be closed with the status given. A client
// frame must be masked and may not set reserved bits (we agree to no
// extension) or use a reserved opcode; a control frame comes whole and holds
// at most 125 bytes; a continuation needs an open message and a new message
// may not start inside one; text must be UTF-8; a message may not grow past
// maxMessageBytes. Incomplete when the next frame is not all there yet (the
// fragments taken so far wait in 'message').
WebSocketEvent readWebSocketFrame(std::string_view& input, WebSocketMessage& message, std::size_t maxMessageBytes);

// A close frame from the server with the status.
std::string webSocketCloseFrame(std::uint16_t status);

// A ping (opcode 9) or pong (opcode 10) from the server with at most 125 bytes.
std::string webSocketControlFrame(std::uint8_t opcode, std::string_view payload);

constexpr std::uint8_t webSocketPing = 9;
constexpr std::uint8_t webSocketPong = 10;
