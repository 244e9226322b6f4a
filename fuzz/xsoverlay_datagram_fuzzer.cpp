// XSOverlay's UDP datagrams over arbitrary bytes: whatever comes, a
// notification that holds its promises or none.
#include <cstdint>
#include <string_view>

#include "notification_invariants.h"
#include "notifications/sender_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto notification = readXsOverlayDatagram(std::string_view(reinterpret_cast<const char*>(data), size));
    checkNotification(notification);
    return 0;
}
