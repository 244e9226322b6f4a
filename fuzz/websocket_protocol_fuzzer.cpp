// The WebSocket server's reading of what clients send, over arbitrary bytes:
// the first byte chooses a handshake request (even) or the frames after it
// (odd), read as the server reads them until a fault or the end.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "notifications/plain_text.h"
#include "notifications/websocket_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        const WebSocketRequest request = readWebSocketRequest(input);
        if (request.refusal.empty() && request.key.size() != 24) std::abort();
        return 0;
    }
    constexpr std::size_t maxMessageBytes = 4096;
    WebSocketMessage message;
    for (;;) {
        const std::size_t before = input.size();
        const WebSocketEvent event = readWebSocketFrame(input, message, maxMessageBytes);
        using Kind = WebSocketEventKind;
        if (event.kind == Kind::Incomplete || event.kind == Kind::Failed) break;
        // Something was taken, and what came is within its bounds.
        const bool control = event.kind == Kind::Ping || event.kind == Kind::Pong || event.kind == Kind::Close;
        if (input.size() >= before || event.payload.size() > (control ? 125 : maxMessageBytes) ||
            (event.kind == Kind::Text && validUtf8(event.payload) != event.payload))
            std::abort();
    }
    return 0;
}
