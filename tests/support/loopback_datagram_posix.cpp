#include "support/loopback_datagram.h"

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

void sendLoopbackDatagram(int family, int port, const std::string& bytes) {
    addrinfo hints{}, *address = nullptr;
    hints.ai_family = family;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    const char* host = family == AF_INET ? "127.0.0.1" : "::1";
    if (getaddrinfo(host, std::to_string(port).c_str(), &hints, &address) != 0) return;
    const int fd = socket(family, SOCK_DGRAM, 0);
    sendto(fd, bytes.data(), bytes.size(), 0, address->ai_addr, address->ai_addrlen);
    close(fd);
    freeaddrinfo(address);
}
