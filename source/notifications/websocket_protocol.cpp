#include "notifications/websocket_protocol.h"

#include <algorithm>
#include <cctype>
#include <strings.h>

#include "notifications/plain_text.h"
#include "notifications/sha1.h"

namespace {

constexpr std::uint8_t continuationOpcode = 0, textOpcode = 1, binaryOpcode = 2, closeOpcode = 8;
constexpr std::size_t maxControlPayload = 125;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// True when the comma-separated list holds the token, in any case.
bool listHas(std::string_view list, std::string_view token) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        if (sameName(trimmed(list.substr(0, comma)), token)) return true;
        list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    }
    return false;
}

// 16 bytes in base64: 22 characters and "==".
bool keyWellFormed(std::string_view key) {
    if (key.size() != 24 || key.substr(22) != "==") return false;
    for (char c : key.substr(0, 22))
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '/') return false;
    return true;
}

WebSocketEvent failed(std::uint16_t status, const char* why) {
    WebSocketEvent event;
    event.kind = WebSocketEventKind::Failed;
    event.status = status;
    event.why = why;
    return event;
}

bool isUtf8(const std::string& text) { return validUtf8(text) == text; }

// What a close frame's payload asks us to answer: its status, 1000 for
// none; a fault for a status no endpoint may send or a reason that is no
// UTF-8.
WebSocketEvent closeEvent(const std::string& payload) {
    WebSocketEvent event;
    event.kind = WebSocketEventKind::Close;
    event.status = webSocketNormalClosure;
    if (payload.empty()) return event;
    if (payload.size() == 1) return failed(webSocketProtocolError, "close frame of one byte");
    const auto status = static_cast<std::uint16_t>(static_cast<unsigned char>(payload[0]) << 8 |
                                                   static_cast<unsigned char>(payload[1]));
    const bool sendable = (status >= 1000 && status <= 1003) || (status >= 1007 && status <= 1014) ||
                          (status >= 3000 && status <= 4999);
    if (!sendable) return failed(webSocketProtocolError, "close status not allowed");
    if (!isUtf8(payload.substr(2))) return failed(webSocketInvalidText, "close reason not UTF-8");
    event.status = status;
    return event;
}

}  // namespace

WebSocketRequest readWebSocketRequest(std::string_view head) {
    WebSocketRequest request;
    const std::size_t lineEnd = head.find("\r\n");
    const std::string_view line = head.substr(0, lineEnd);
    const std::size_t space = line.find(' '), lastSpace = line.rfind(' ');
    if (lineEnd == std::string_view::npos || line.substr(0, space + 1) != "GET " ||
        line.substr(lastSpace) != " HTTP/1.1" || lastSpace <= space + 1) {
        request.refusal = "not a GET request of HTTP/1.1";
        return request;
    }
    const std::string_view target = line.substr(space + 1, lastSpace - space - 1);
    const std::size_t question = target.find('?');
    request.path = std::string(target.substr(0, question));
    if (question != std::string_view::npos) request.query = std::string(target.substr(question + 1));

    bool upgrade = false, connection = false, version = false, hasHost = false, hasKey = false;
    for (std::string_view rest = head.substr(lineEnd + 2); !rest.empty() && rest != "\r\n";) {
        const std::size_t end = rest.find("\r\n");
        const std::string_view field = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
        const std::size_t colon = field.find(':');
        // Folded lines and names with blanks are gone from HTTP/1.1 (RFC 9112).
        if (end == std::string_view::npos || colon == 0 || colon == std::string_view::npos ||
            field.substr(0, colon).find_first_of(" \t") != std::string_view::npos) {
            request.refusal = "malformed header line";
            return request;
        }
        const std::string_view name = field.substr(0, colon), value = trimmed(field.substr(colon + 1));
        // A second Host, Origin or key could be read otherwise elsewhere.
        auto once = [&](bool& seen, std::string& into) {
            if (seen) request.refusal = "header " + std::string(name) + " twice";
            seen = true;
            into = std::string(value);
        };
        if (sameName(name, "Host")) once(hasHost, request.host);
        else if (sameName(name, "Origin")) once(request.hasOrigin, request.origin);
        else if (sameName(name, "Sec-WebSocket-Key")) once(hasKey, request.key);
        else if (sameName(name, "Upgrade")) upgrade = upgrade || listHas(value, "websocket");
        else if (sameName(name, "Connection")) connection = connection || listHas(value, "upgrade");
        else if (sameName(name, "Sec-WebSocket-Version")) version = value == "13";
        if (!request.refusal.empty()) return request;
    }
    if (!upgrade || !connection || !version || !keyWellFormed(request.key))
        request.refusal = "not a WebSocket upgrade of version 13";
    else if (!hasHost)
        request.refusal = "no Host";
    return request;
}

std::string webSocketHandshakeAnswer(std::string_view key) {
    const std::array<std::uint8_t, 20> digest = sha1(std::string(key) + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11");
    // Its base64: six groups of three bytes, then two bytes and one '='.
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string accept;
    for (std::size_t i = 0; i < digest.size(); i += 3) {
        const std::uint32_t group = std::uint32_t(digest[i]) << 16 | std::uint32_t(digest[i + 1]) << 8 |
                                    (i + 2 < digest.size() ? digest[i + 2] : 0);
        for (int k = 0; k < 4; ++k) accept += i + k <= digest.size() ? alphabet[group >> (18 - 6 * k) & 63] : '=';
    }
    return "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
           "Sec-WebSocket-Accept: " + accept + "\r\n\r\n";
}

WebSocketEvent readWebSocketFrame(std::string_view& input, WebSocketMessage& message, std::size_t maxMessageBytes) {
    // Fragments are taken until a message ends or the next frame is not whole.
    for (;;) {
        if (input.size() < 2) return {};
        const auto first = static_cast<unsigned char>(input[0]), second = static_cast<unsigned char>(input[1]);
        const bool final = first & 0x80;
        const std::uint8_t opcode = first & 0x0F;
        const bool control = opcode & 0x08;
        const std::size_t shortLength = second & 0x7F;
        // Each header field is judged as soon as it is there.
        if (first & 0x70) return failed(webSocketProtocolError, "reserved bits set");
        if ((opcode > binaryOpcode && opcode < closeOpcode) || opcode > webSocketPong)
            return failed(webSocketProtocolError, "reserved opcode");
        if (control && !final) return failed(webSocketProtocolError, "fragmented control frame");
        if (control && shortLength > maxControlPayload) return failed(webSocketProtocolError, "control frame too long");
        if (!(second & 0x80)) return failed(webSocketProtocolError, "unmasked frame");
        if (opcode == continuationOpcode && !message.open)
            return failed(webSocketProtocolError, "continuation without a message");
        if ((opcode == textOpcode || opcode == binaryOpcode) && message.open)
            return failed(webSocketProtocolError, "new message inside a fragmented one");

        const std::size_t lengthBytes = shortLength == 126 ? 2 : shortLength == 127 ? 8 : 0;
        if (input.size() < 2 + lengthBytes) return {};
        std::uint64_t length = lengthBytes == 0 ? shortLength : 0;
        for (std::size_t i = 0; i < lengthBytes; ++i) length = length << 8 | static_cast<unsigned char>(input[2 + i]);
        // The shortest form only, as RFC 6455 5.2 asks; the top bit never.
        if ((lengthBytes == 2 && length < 126) || (lengthBytes == 8 && (length <= 0xFFFF || length >> 63)))
            return failed(webSocketProtocolError, "length not in its shortest form");
        if (!control && length > maxMessageBytes - std::min(maxMessageBytes, message.data.size()))
            return failed(webSocketMessageTooBig, "message too big");

        const std::size_t headerBytes = 2 + lengthBytes + 4;
        if (input.size() < headerBytes + length) return {};
        const std::string_view mask = input.substr(2 + lengthBytes, 4);
        std::string payload(input.substr(headerBytes, static_cast<std::size_t>(length)));
        for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>(payload[i] ^ mask[i % 4]);
        input.remove_prefix(headerBytes + static_cast<std::size_t>(length));

        WebSocketEvent event;
        switch (opcode) {
        case closeOpcode: return closeEvent(payload);
        case webSocketPing: event.kind = WebSocketEventKind::Ping; break;
        case webSocketPong: event.kind = WebSocketEventKind::Pong; break;
        case continuationOpcode: message.data += payload; break;
        default: message = {true, opcode == binaryOpcode, std::move(payload)}; break;
        }
        if (control) {
            event.payload = std::move(payload);
            return event;
        }
        if (!final) continue;
        event.kind = message.binary ? WebSocketEventKind::Binary : WebSocketEventKind::Text;
        event.payload = std::move(message.data);
        message = {};
        if (event.kind == WebSocketEventKind::Text && !isUtf8(event.payload))
            return failed(webSocketInvalidText, "text not UTF-8");
        return event;
    }
}

std::string webSocketCloseFrame(std::uint16_t status) {
    const char payload[] = {static_cast<char>(status >> 8), static_cast<char>(status & 0xFF)};
    return webSocketControlFrame(closeOpcode, std::string_view(payload, sizeof payload));
}

std::string webSocketControlFrame(std::uint8_t opcode, std::string_view payload) {
    std::string frame = {static_cast<char>(0x80 | opcode), static_cast<char>(payload.size())};
    return frame.append(payload);
}
