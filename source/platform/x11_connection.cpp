#include "platform/x11_connection.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <ctime>

namespace platform {

Display* openX11Display() {
    Display* display = XOpenDisplay(nullptr);
    const char* name = std::getenv("DISPLAY");
    const bool serverNamed = name && *name;
    for (int retry = 0; !display && serverNamed && retry < 20; ++retry) {
        timespec pause{0, 25000000};
        nanosleep(&pause, nullptr);
        display = XOpenDisplay(nullptr);
    }
    return display;
}

}  // namespace platform
