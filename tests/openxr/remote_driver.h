#pragma once

#include <openxr/openxr.h>

// A client of Monado's remote driver, which takes the head's and the
// controllers' poses over TCP and holds the last ones it got. Each pose is
// in the stage space (the standing universe: y up, the floor at 0).
class RemoteDriver {
public:
    // Connects to the driver on the loopback interface, trying for a few
    // seconds while the service starts; connected() tells.
    explicit RemoteDriver(int port);
    ~RemoteDriver();
    RemoteDriver(const RemoteDriver&) = delete;
    RemoteDriver& operator=(const RemoteDriver&) = delete;

    bool connected() const { return socket_ >= 0; }
    // Both controllers on and tracked; false when the driver did not take it.
    bool send(const XrPosef& head, const XrPosef& left, const XrPosef& right);

private:
    int socket_ = -1;
};
