#pragma once

#include <openxr/openxr.h>

// What a controller's inputs read. The remote driver plays Index
// controllers; under the simple controller's profile its b is the menu button
// and a trigger past 0.7 is select.
struct ControllerInput {
    bool b = false;
    float trigger = 0;  // the click comes with a full pull
};

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
    bool send(const XrPosef& head, const XrPosef& left, const XrPosef& right,
              const ControllerInput& leftInput = {}, const ControllerInput& rightInput = {});

private:
    int socket_ = -1;
};
