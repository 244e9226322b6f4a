#include "notifications/loopback_port.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/log.h"

namespace {

constexpr int listenBacklog = 16;

// One non-blocking socket bound to the address; -1 with errno set on failure.
int bindSocket(PortProtocol protocol, const sockaddr* address, socklen_t length) {
    const int type = (protocol == PortProtocol::Udp ? SOCK_DGRAM : SOCK_STREAM) | SOCK_NONBLOCK | SOCK_CLOEXEC;
    const int fd = socket(address->sa_family, type, 0);
    if (fd < 0) return -1;
    const int on = 1;
    // On a TCP socket SO_REUSEADDR lets us listen again over the connections
    // that the last server on the port closed (TIME_WAIT, up to a minute),
    // and never beside another listener. On UDP it would share a port that
    // another program holds, so not there.
    if ((address->sa_family == AF_INET6 && setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on) != 0) ||
        (protocol == PortProtocol::Tcp && setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) ||
        bind(fd, address, length) != 0 || (protocol == PortProtocol::Tcp && listen(fd, listenBacklog) != 0)) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

int boundPort(int fd) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

// Binds 127.0.0.1 and then ::1 on the same port; ::1 is left out where the
// machine has no IPv6 loopback. An error message when 127.0.0.1 failed.
std::string bindLoopback(LoopbackPort& port) {
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    v4.sin_port = htons(static_cast<std::uint16_t>(port.requestedPort));
    const int fd4 = bindSocket(port.protocol, reinterpret_cast<sockaddr*>(&v4), sizeof v4);
    if (fd4 < 0) return std::strerror(errno);
    port.fds.push_back(fd4);
    port.port = boundPort(fd4);
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_addr = in6addr_loopback;
    v6.sin6_port = htons(static_cast<std::uint16_t>(port.port));
    const int fd6 = bindSocket(port.protocol, reinterpret_cast<sockaddr*>(&v6), sizeof v6);
    if (fd6 >= 0)
        port.fds.push_back(fd6);
    else if (errno != EAFNOSUPPORT && errno != EADDRNOTAVAIL)
        logMessage("%s: [::1]:%d not bound (%s); listening on 127.0.0.1 only", port.name, port.port,
                   std::strerror(errno));
    return {};
}

}  // namespace

bool keepLoopbackPortOpen(LoopbackPort& port, std::chrono::steady_clock::time_point now) {
    if (!port.fds.empty()) return true;
    if (port.nextTry && now < *port.nextTry) return false;
    const std::string error = bindLoopback(port);
    if (!error.empty()) {
        if (!port.nextTry) {
            const std::string owner = loopbackPortOwner(port.protocol, port.requestedPort);
            logMessage("%s: port %d not available (%s%s%s); trying again every %d s", port.name,
                       port.requestedPort, error.c_str(), owner.empty() ? "" : ", held by ", owner.c_str(),
                       static_cast<int>(loopbackRetryInterval.count()));
        }
        port.nextTry = now + loopbackRetryInterval;
        return false;
    }
    if (port.nextTry) logMessage("%s: port %d now available, listening", port.name, port.port);
    port.nextTry.reset();
    return true;
}

void closeLoopbackPort(LoopbackPort& port) {
    for (int fd : port.fds) close(fd);
    port.fds.clear();
    port.port = 0;
    port.nextTry.reset();
}
