// The program's window and OpenGL contexts on Windows with WGL.
//
// Implemented:
//  - One window of class "HorloxClass" titled "Horlox", 1280 x 720 client
//    pixels at (0, 0), shown only offline, on an RGBA8 double-buffered pixel
//    format without depth or stencil.
//  - A legacy WGL context for loading the GL entry points, then an OpenGL
//    core debug context through wglCreateContextAttribsARB.
//  - The message pump: closing the window ends the loop; buffer swaps, and
//    whether they keep the back buffer (PFD_SWAP_COPY).
// Missing:
//  - Input beyond the close request, resizing, DPI awareness, multi-monitor
//    placement.
//
// The portable bootstrap names the failures it knows ("Failed to create
// window.", the contexts' steps); the steps it has no words for end the
// program here with their own messages: "Failed to register class.",
// "Failed to choose pixel format.", "Failed to set pixel format.". Windows
// chooses the pixel format on the window's device context, so that happens
// when the window is made.
#include "platform/window.h"

#include <windows.h>

#include <algorithm>

#include "platform/debug_output.h"
#include "platform/wgl_win32.h"

namespace platform {

struct Window {
    HWND handle = nullptr;
    HDC deviceContext = nullptr;
    HGLRC temporaryContext = nullptr;
    HGLRC coreContext = nullptr;
};

namespace {

constexpr int clientWidth = 1280;
constexpr int clientHeight = 720;
constexpr wchar_t className[] = L"HorloxClass";
// A plain window with a title bar and a close box, not resizable.
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

bool closeRequested = false;

// Closing the window ends the program (the loop sees it), instead of
// destroying the window under a loop that still draws into it.
LRESULT CALLBACK windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        closeRequested = true;
        return 0;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

}  // namespace

Window* openDisplay() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass)) fatalExit("Failed to register class.");
    static Window window;  // the process has one, alive until it ends
    return &window;
}

bool chooseFramebufferConfig(Window&) { return true; }

bool createWindow(Window& window, bool visible) {
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, windowStyle, FALSE, 0);
    window.handle = CreateWindowExW(0, className, L"Horlox", windowStyle | (visible ? WS_VISIBLE : 0),
                                    0, 0, frame.right - frame.left, frame.bottom - frame.top,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window.handle) return false;
    window.deviceContext = GetDC(window.handle);  // held until the process ends
    switch (setPixelFormat(window.deviceContext)) {
    case PixelFormatResult::noneMatches: fatalExit("Failed to choose pixel format.");
    case PixelFormatResult::notSet: fatalExit("Failed to set pixel format.");
    case PixelFormatResult::set: return true;
    }
    return false;
}

bool createTemporaryContext(Window& window) {
    window.temporaryContext = wglCreateContext(window.deviceContext);
    return window.temporaryContext != nullptr;
}

bool activateTemporaryContext(Window& window) {
    return wglMakeCurrent(window.deviceContext, window.temporaryContext);
}

void deleteTemporaryContext(Window& window) {
    wglDeleteContext(window.temporaryContext);
    window.temporaryContext = nullptr;
}

bool createCoreContext(Window& window, int majorVersion, int minorVersion) {
    window.coreContext = platform::createCoreContext(window.deviceContext, majorVersion, minorVersion);
    return window.coreContext != nullptr;
}

bool activateCoreContext(Window& window) {
    return wglMakeCurrent(window.deviceContext, window.coreContext);
}

bool pumpWindowEvents(Window&) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) closeRequested = true;
        DispatchMessageW(&message);
    }
    return !closeRequested;
}

void swapWindowBuffers(Window& window) { SwapBuffers(window.deviceContext); }

bool swapKeepsBackBuffer(const Window& window) {
    PIXELFORMATDESCRIPTOR format{};
    const int chosen = GetPixelFormat(window.deviceContext);
    return chosen != 0 &&
           DescribePixelFormat(window.deviceContext, chosen, sizeof format, &format) != 0 &&
           (format.dwFlags & PFD_SWAP_COPY) != 0;
}

// There is nothing but the window to wait on: notifications are not
// received on Windows yet.
void waitForEvents(Window&, const std::vector<int>&, std::chrono::milliseconds timeout) {
    const auto limit = std::chrono::milliseconds(INFINITE - 1);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min(timeout, limit).count()),
                              QS_ALLINPUT);
}

}  // namespace platform
