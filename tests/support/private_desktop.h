#pragma once

// A desktop session of its own for notification tests: a D-Bus session bus
// (no service folders: nothing is started on demand), a virtual display and
// Debian's dunst owning the notification name on them, as on a desktop;
// notify-send 0.8.1 asks the daemon for its capabilities first and gives up
// without one. Each is a process that the desktop ends with itself.
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/test_files.h"

class PrivateDesktop {
public:
    // False when one of them does not come up.
    bool start();
    // The bus's address, for DBUS_SESSION_BUS_ADDRESS; known before it starts.
    const std::string& address() const { return busAddress; }

    // Runs notify-send with the arguments until the daemon has answered it;
    // false when it never got through.
    bool notifySend(const std::vector<std::string>& arguments);

private:
    TemporaryDirectory root;
    std::string busAddress = "unix:path=" + root.path() + "/bus/socket";
    // Ended in reverse order: the daemon, the display, the bus.
    std::unique_ptr<ChildProcess> bus, display, daemon;
};
