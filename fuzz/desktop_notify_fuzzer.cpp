// Notify calls over arbitrary bytes as they would come off the bus: sd-bus
// parses them as a connection does, then the arguments are read.
#include <cstdint>
#include <systemd/sd-bus.h>

#include "notification_invariants.h"
#include "notifications/desktop_notify.h"
#include "received_dbus_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sd_bus_message* message = receiveDbusMessage(data, size);
    if (!message) return 0;
    const auto notification = readDesktopNotify(message);
    checkNotification(notification);
    sd_bus_message_unref(message);
    return 0;
}
