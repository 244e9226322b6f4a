// The program's window and OpenGL contexts on X11 with GLX.
//
// Implemented:
//  - One 1280 x 720 window titled "Horlox" at (0, 0), mapped only offline,
//    on an RGBA8 double-buffered framebuffer configuration, one whose swap
//    copies (keeping the back buffer) where GLX_OML_swap_method offers it.
//  - A legacy GLX context for loading the GL entry points, then an OpenGL
//    core debug context through glXCreateContextAttribsARB; a refused request
//    is a failure, not a crash.
//  - The window manager's close request, buffer swaps.
// Missing:
//  - Input beyond the close request, resizing, multi-monitor placement.
#include "platform/window.h"

#include "platform/x11_connection.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace platform {

struct Window {
    Display* display = nullptr;
    GLXFBConfig framebufferConfig = nullptr;
    ::Window handle = 0;
    Atom deleteRequest = 0;
    bool swapMethodKnown = false;  // GLX_OML_swap_method
    GLXContext temporaryContext = nullptr;
    GLXContext coreContext = nullptr;
};

namespace {

constexpr int windowWidth = 1280;
constexpr int windowHeight = 720;

// A refused context request arrives as an X protocol error, whose default
// handler ends the process; while asking, errors are only noted.
bool protocolErrorSeen = false;
int noteProtocolError(Display*, XErrorEvent*) {
    protocolErrorSeen = true;
    return 0;
}

bool hasGlxExtension(Display* display, const std::string& name) {
    const char* names = glXQueryExtensionsString(display, DefaultScreen(display));
    std::istringstream list(names ? names : "");
    return std::find(std::istream_iterator<std::string>(list), std::istream_iterator<std::string>(),
                     name) != std::istream_iterator<std::string>();
}

// The first configuration with the attributes, if any.
GLXFBConfig firstConfig(Display* display, std::vector<int> attributes) {
    attributes.push_back(None);
    int count = 0;
    GLXFBConfig* configs =
        glXChooseFBConfig(display, DefaultScreen(display), attributes.data(), &count);
    if (!configs) return nullptr;
    GLXFBConfig first = count > 0 ? configs[0] : nullptr;
    XFree(configs);
    return first;
}

}  // namespace

Window* openDisplay() {
    Display* display = openX11Display();
    if (!display) return nullptr;
    static Window window;  // the process has one, alive until it ends
    window.display = display;
    return &window;
}

bool chooseFramebufferConfig(Window& window) {
    std::vector<int> attributes = {
        GLX_X_RENDERABLE, True,
        GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT,
        GLX_RENDER_TYPE, GLX_RGBA_BIT,
        GLX_DOUBLEBUFFER, True,
        GLX_RED_SIZE, 8,
        GLX_GREEN_SIZE, 8,
        GLX_BLUE_SIZE, 8,
        GLX_ALPHA_SIZE, 8,
        GLX_DEPTH_SIZE, 0,
        GLX_STENCIL_SIZE, 0};
    window.swapMethodKnown = hasGlxExtension(window.display, "GLX_OML_swap_method");
    if (window.swapMethodKnown) {
        std::vector<int> copying = attributes;
        copying.insert(copying.end(), {GLX_SWAP_METHOD_OML, GLX_SWAP_COPY_OML});
        window.framebufferConfig = firstConfig(window.display, copying);
    }
    if (!window.framebufferConfig) window.framebufferConfig = firstConfig(window.display, attributes);
    return window.framebufferConfig != nullptr;
}

bool createWindow(Window& window, bool visible) {
    XVisualInfo* visual = glXGetVisualFromFBConfig(window.display, window.framebufferConfig);
    if (!visual) return false;
    ::Window root = RootWindow(window.display, visual->screen);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(window.display, root, visual->visual, AllocNone);
    attributes.border_pixel = 0;
    attributes.event_mask = StructureNotifyMask;
    window.handle = XCreateWindow(window.display, root, 0, 0, windowWidth, windowHeight, 0,
                                  visual->depth, InputOutput, visual->visual,
                                  CWColormap | CWBorderPixel | CWEventMask, &attributes);
    XFree(visual);
    if (!window.handle) return false;

    XStoreName(window.display, window.handle, "Horlox");
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.width = windowWidth;
    hints.height = windowHeight;
    XSetWMNormalHints(window.display, window.handle, &hints);
    window.deleteRequest = XInternAtom(window.display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(window.display, window.handle, &window.deleteRequest, 1);
    if (visible) XMapWindow(window.display, window.handle);
    XFlush(window.display);
    return true;
}

bool createTemporaryContext(Window& window) {
    window.temporaryContext = glXCreateNewContext(window.display, window.framebufferConfig,
                                                  GLX_RGBA_TYPE, nullptr, True);
    return window.temporaryContext != nullptr;
}

bool activateTemporaryContext(Window& window) {
    return glXMakeContextCurrent(window.display, window.handle, window.handle,
                                 window.temporaryContext);
}

void deleteTemporaryContext(Window& window) {
    glXDestroyContext(window.display, window.temporaryContext);
    window.temporaryContext = nullptr;
}

bool createCoreContext(Window& window, int majorVersion, int minorVersion) {
    using CreateContextAttribs =
        GLXContext (*)(Display*, GLXFBConfig, GLXContext, Bool, const int*);
    auto createContextAttribs = reinterpret_cast<CreateContextAttribs>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXCreateContextAttribsARB")));
    if (!createContextAttribs) return false;

    const int attributes[] = {
        GLX_CONTEXT_MAJOR_VERSION_ARB, majorVersion,
        GLX_CONTEXT_MINOR_VERSION_ARB, minorVersion,
        GLX_CONTEXT_PROFILE_MASK_ARB, GLX_CONTEXT_CORE_PROFILE_BIT_ARB,
        GLX_CONTEXT_FLAGS_ARB, GLX_CONTEXT_DEBUG_BIT_ARB,
        None};
    protocolErrorSeen = false;
    XErrorHandler previous = XSetErrorHandler(noteProtocolError);
    window.coreContext =
        createContextAttribs(window.display, window.framebufferConfig, nullptr, True, attributes);
    XSync(window.display, False);
    XSetErrorHandler(previous);
    if (protocolErrorSeen && window.coreContext) {
        glXDestroyContext(window.display, window.coreContext);
        window.coreContext = nullptr;
    }
    return window.coreContext != nullptr;
}

bool activateCoreContext(Window& window) {
    return glXMakeContextCurrent(window.display, window.handle, window.handle, window.coreContext);
}

bool pumpWindowEvents(Window& window) {
    bool open = true;
    while (XPending(window.display) > 0) {
        XEvent event;
        XNextEvent(window.display, &event);
        if (event.xany.window != window.handle) continue;
        if (event.type == ClientMessage &&
            static_cast<Atom>(event.xclient.data.l[0]) == window.deleteRequest)
            open = false;
        if (event.type == DestroyNotify) open = false;
    }
    return open;
}

void swapWindowBuffers(Window& window) { glXSwapBuffers(window.display, window.handle); }

bool swapKeepsBackBuffer(const Window& window) {
    int method = 0;
    return window.swapMethodKnown &&
           glXGetFBConfigAttrib(window.display, window.framebufferConfig, GLX_SWAP_METHOD_OML,
                                &method) == Success &&
           method == GLX_SWAP_COPY_OML;
}

void waitForEvents(Window& window, const std::vector<int>& descriptors,
                   std::chrono::milliseconds timeout) {
    // Events Xlib has read already would never show on its socket.
    XFlush(window.display);
    if (XPending(window.display) > 0) return;
    std::vector<pollfd> watched{{ConnectionNumber(window.display), POLLIN, 0}};
    for (int descriptor : descriptors) watched.push_back({descriptor, POLLIN, 0});
    const auto limit = std::chrono::milliseconds(std::numeric_limits<int>::max());
    poll(watched.data(), watched.size(), static_cast<int>(std::min(timeout, limit).count()));
}

}  // namespace platform
