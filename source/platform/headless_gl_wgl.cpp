// A headless OpenGL context on Windows with WGL.
//
// Implemented:
//  - One OpenGL core context for the whole process, made by way of a
//    temporary legacy context, on a hidden window of its own that is never
//    shown: it draws only into framebuffer objects.
// Missing:
//  - A context without any window: WGL has none.
//  - Tear-down: the context lives until the process ends.
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
