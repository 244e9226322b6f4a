#include "support/x11_window_probe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/x11_connection.h"

namespace {

// A connection for one question, and the top-level window with the title.
struct TitledWindow {
    explicit TitledWindow(const std::string& title) {
        ::Window root = display ? DefaultRootWindow(display) : 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!display || !XQueryTree(display, root, &root, &parent, &children, &count)) return;
        for (unsigned int i = 0; i < count && !window; ++i) {
            char* name = nullptr;
            if (XFetchName(display, children[i], &name) && name) {
                if (title == name) window = children[i];
                XFree(name);
            }
        }
        if (children) XFree(children);
    }
    ~TitledWindow() {
        if (display) XCloseDisplay(display);
    }
    Display* display = platform::openX11Display();
    ::Window window = 0;
};

// Reading a window that just went away is a protocol error, which would
// otherwise end the test process.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

std::optional<WindowFacts> findWindowByTitle(const std::string& title) {
    const TitledWindow found(title);
    XWindowAttributes attributes;
    if (!found.window || !XGetWindowAttributes(found.display, found.window, &attributes)) return std::nullopt;
    return WindowFacts{attributes.x, attributes.y, attributes.width, attributes.height,
                       attributes.map_state == IsViewable};
}

bool requestWindowClose(const std::string& title) {
    const TitledWindow found(title);
    if (!found.window) return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = found.window;
    event.xclient.message_type = XInternAtom(found.display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(found.display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(found.display, found.window, False, NoEventMask, &event);
    XFlush(found.display);
    return true;
}

std::vector<std::uint32_t> readWindowPixels(const std::string& title, int x, int y, int width, int height) {
    const TitledWindow found(title);
    if (!found.window) return {};
    auto previousHandler = XSetErrorHandler(ignoreErrors);
    XImage* image = XGetImage(found.display, found.window, x, y, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    XSync(found.display, False);
    XSetErrorHandler(previousHandler);
    if (!image) return {};
    std::vector<std::uint32_t> pixels;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            pixels.push_back(std::uint32_t(XGetPixel(image, column, row) & 0xFFFFFF));
    XDestroyImage(image);
    return pixels;
}
