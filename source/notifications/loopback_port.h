#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// A port of our own on the loopback addresses: 127.0.0.1 and, where the
// machine has it, ::1 (for clients that connect to "localhost"). Never on
// another address, never sharing a port: no SO_REUSEPORT, and SO_REUSEADDR
// only on TCP, where Linux lets it bind over closed connections (TIME_WAIT)
// but not beside a listener. A port that another program holds (another
// overlay owning 42069) stays its own, and we try again every
// loopbackRetryInterval.
enum class PortProtocol { Udp, Tcp };

constexpr std::chrono::seconds loopbackRetryInterval{30};

struct LoopbackPort {
    PortProtocol protocol = PortProtocol::Udp;
    const char* name = "";  // for log lines: "XSOverlay UDP"
    int requestedPort = 0;  // 0: any free port (tests)
    int port = 0;           // the port bound, once bound
    std::vector<int> fds;   // non-blocking; TCP ones listening
    std::optional<std::chrono::steady_clock::time_point> nextTry;  // after a failure
};

// Binds the port unless it is bound or its next try has not come. The first
// failure in a row writes one log line naming the port and, where /proc
// tells, the program holding it; the first success after failures writes one
// too. True while bound.
bool keepLoopbackPortOpen(LoopbackPort& port, std::chrono::steady_clock::time_point now);

// Closes the sockets; the next keepLoopbackPortOpen binds at once.
void closeLoopbackPort(LoopbackPort& port);

// Who holds a local port on this machine, such as "XSOverlay (pid 4242)",
// from /proc/net and /proc/*/fd; empty when that cannot be seen.
std::string loopbackPortOwner(PortProtocol protocol, int port);
