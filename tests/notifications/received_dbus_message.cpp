#include "received_dbus_message.h"

#include <string>
#include <sys/socket.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

namespace {

// More than a socket pair holds unread would block the writer.
constexpr std::size_t maxMessageBytes = 64 * 1024;

bool writeAll(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

sd_bus_message* receiveDbusMessage(const std::uint8_t* data, std::size_t size) {
    if (size > maxMessageBytes) return nullptr;
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return nullptr;
    // The client's side of the handshake, then the message, then the end.
    const std::string uid = std::to_string(getuid());
    std::string hello(1, '\0');
    hello += "AUTH EXTERNAL ";
    for (char digit : uid) {
        static const char hex[] = "0123456789abcdef";
        hello += hex[static_cast<unsigned char>(digit) >> 4];
        hello += hex[static_cast<unsigned char>(digit) & 15];
    }
    hello += "\r\nBEGIN\r\n";
    sd_bus_message* message = nullptr;
    sd_bus* bus = nullptr;
    if (writeAll(pair[1], hello.data(), hello.size()) && writeAll(pair[1], data, size) &&
        shutdown(pair[1], SHUT_WR) == 0 && sd_bus_new(&bus) >= 0) {
        sd_id128_t id = {};
        id.bytes[0] = 1;
        // A monitor hands every message over instead of answering it.
        if (sd_bus_set_fd(bus, pair[0], pair[0]) >= 0 && sd_bus_set_server(bus, 1, id) >= 0 &&
            sd_bus_set_monitor(bus, 1) >= 0 && sd_bus_start(bus) >= 0) {
            for (int i = 0; i < 16 && !message; ++i)
                if (sd_bus_process(bus, &message) < 0) break;
        }
        // The message keeps the connection it came from.
        sd_bus_close_unref(bus);
    } else {
        close(pair[0]);
    }
    close(pair[1]);
    return message;
}
