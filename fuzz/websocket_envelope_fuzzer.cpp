// The WebSocket APIs' messages over arbitrary bytes: the first byte chooses
// XSOverlay's envelope (even) or OVR Toolkit's (odd), the rest is the message.
#include <cstdint>
#include <string_view>

#include "notification_invariants.h"
#include "notifications/sender_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view message(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto notification = data[0] % 2 == 0 ? readXsOverlayWebSocketMessage(message, "Fuzz")
                                               : readOvrToolkitMessage(message);
    checkNotification(notification);
    return 0;
}
