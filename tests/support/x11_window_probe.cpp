#include "support/x11_window_probe.h"

#include "platform/x11_connection.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstring>

namespace {

// A connection for one question, closed when it goes out of scope.
struct DisplayConnection {
    Display* display = platform::openX11Display();
    ~DisplayConnection() {
        if (display) XCloseDisplay(display);
    }
};

::Window findTopLevel(Display* display, const std::string& title) {
    ::Window root = DefaultRootWindow(display);
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    ::Window found = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (title == name) found = children[i];
            XFree(name);
        }
    }
    if (children) XFree(children);
    return found;
}

// Reading a window that just went away is a protocol error, which would
// otherwise end the test process.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

// A colour channel of a pixel value, scaled to 8 bits.
std::uint32_t channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long maximum = mask >> shift;
    return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255 / maximum);
}

}  // namespace

std::optional<WindowFacts> findWindowByTitle(const std::string& title) {
    DisplayConnection connection;
    if (!connection.display) return std::nullopt;
    ::Window window = findTopLevel(connection.display, title);
    XWindowAttributes attributes;
    if (!window || !XGetWindowAttributes(connection.display, window, &attributes))
        return std::nullopt;
    return WindowFacts{attributes.x, attributes.y, attributes.width, attributes.height,
                       attributes.map_state == IsViewable};
}

bool requestWindowClose(const std::string& title) {
    DisplayConnection connection;
    if (!connection.display) return false;
    ::Window window = findTopLevel(connection.display, title);
    if (!window) return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection.display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] =
        static_cast<long>(XInternAtom(connection.display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection.display, window, False, NoEventMask, &event);
    XFlush(connection.display);
    return true;
}

std::vector<std::uint32_t> readWindowPixels(const std::string& title, int x, int y, int width,
                                            int height) {
    DisplayConnection connection;
    if (!connection.display) return {};
    ::Window window = findTopLevel(connection.display, title);
    if (!window) return {};
    auto previousHandler = XSetErrorHandler(ignoreErrors);
    XImage* image = XGetImage(connection.display, window, x, y, unsigned(width), unsigned(height),
                              AllPlanes, ZPixmap);
    XSync(connection.display, False);
    XSetErrorHandler(previousHandler);
    if (!image) return {};
    std::vector<std::uint32_t> pixels;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            pixels.push_back(channel(pixel, image->red_mask) << 16 |
                             channel(pixel, image->green_mask) << 8 |
                             channel(pixel, image->blue_mask));
        }
    XDestroyImage(image);
    return pixels;
}
