#pragma once

#include <chrono>
#include <vector>

// The window that carries the program's OpenGL context, and the contexts
// themselves. The steps are separate so that the GL bootstrap can run them in
// its own order and name each failure; each returns false when it fails.
namespace platform {

struct Window;

// Connects to the display server; null when there is none. The process has a
// single window.
Window* openDisplay();

// Picks an RGBA8, double-buffered configuration without depth or stencil,
// one whose swap keeps the back buffer where there is one.
bool chooseFramebufferConfig(Window& window);

// A 1280 x 720 window titled "Horlox" at (0, 0), mapped only when visible.
bool createWindow(Window& window, bool visible);

// A legacy context, current only while the GL entry points are loaded.
bool createTemporaryContext(Window& window);
bool activateTemporaryContext(Window& window);
void deleteTemporaryContext(Window& window);

// A core-profile debug context of the given version.
bool createCoreContext(Window& window, int majorVersion, int minorVersion);
bool activateCoreContext(Window& window);

// Handles every pending window event; false once the user has closed the window.
bool pumpWindowEvents(Window& window);

void swapWindowBuffers(Window& window);

// Whether a swap leaves the back buffer's pixels as they were, so that a
// present need draw only what changed.
bool swapKeepsBackBuffer(const Window& window);

// Waits until the window has an event, one of the descriptors (sockets, on
// POSIX systems) can be read, or the timeout has passed.
void waitForEvents(Window& window, const std::vector<int>& descriptors,
                   std::chrono::milliseconds timeout);

}  // namespace platform
