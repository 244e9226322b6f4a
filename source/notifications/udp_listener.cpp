#include "notifications/udp_listener.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <sys/socket.h>

#include "notifications/sender_messages.h"
#include "platform/log.h"

namespace {

// The largest UDP payload over IPv4 or IPv6 fits, so no datagram is cut.
constexpr std::size_t maxDatagramBytes = 65536;

}  // namespace

void readXsOverlayDatagrams(const LoopbackPort& port, std::vector<Notification>& received) {
    static std::vector<char> buffer(maxDatagramBytes);
    for (int fd : port.fds) {
        for (int i = 0; i < maxDatagramsPerPass; ++i) {
            // MSG_TRUNC makes the result the datagram's real length.
            const ssize_t length = recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC);
            if (length < 0) {
                if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                    logThrottled("%s: receiving failed: %s", port.name, std::strerror(errno));
                break;
            }
            if (static_cast<std::size_t>(length) > buffer.size()) {
                logThrottled("%s message refused: %zd bytes, more than a datagram can hold", port.name, length);
                continue;
            }
            ReadNotification read = readXsOverlayDatagram(std::string_view(buffer.data(), static_cast<std::size_t>(length)));
            if (!read.why.empty()) logThrottled("%s %s", port.name, read.why.c_str());
            if (read.notification) received.push_back(std::move(*read.notification));
        }
    }
}
