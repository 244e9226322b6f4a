// A headless OpenGL context on Windows. WGL has no context without a window,
// so this one lives on a hidden window of its own that is never shown and
// draws only into framebuffer objects.
//
// Implemented: one 4.3 core context for the process, made by way of a
// temporary legacy context. Missing: a context without any window system
// (Windows has none), tearing down.
#include "platform/headless_gl.h"

#include <windows.h>

#include "platform/wgl_win32.h"

namespace platform {

bool createHeadlessGlContext(int majorVersion, int minorVersion) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"HorloxHeadlessClass";
    if (!RegisterClassExW(&windowClass)) return false;
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Horlox", WS_OVERLAPPED, 0, 0, 1, 1,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) return false;
    HDC deviceContext = GetDC(window);
    if (setPixelFormat(deviceContext) != PixelFormatResult::set) return false;

    // wglCreateContextAttribsARB is found only while some context is current.
    HGLRC temporary = wglCreateContext(deviceContext);
    if (!temporary || !wglMakeCurrent(deviceContext, temporary)) return false;
    HGLRC core = createCoreContext(deviceContext, majorVersion, minorVersion);
    const bool current = core && wglMakeCurrent(deviceContext, core);
    if (!current) wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(temporary);
    return current;
}

}  // namespace platform
