#include "platform/wgl_win32.h"

namespace platform {
namespace {

// From WGL_ARB_create_context and WGL_ARB_create_context_profile.
constexpr int contextMajorVersion = 0x2091;
constexpr int contextMinorVersion = 0x2092;
constexpr int contextFlags = 0x2094;
constexpr int contextProfileMask = 0x9126;
constexpr int contextDebugBit = 0x0001;
constexpr int contextCoreProfileBit = 0x0001;

using CreateContextAttribs = HGLRC(WINAPI*)(HDC, HGLRC, const int*);

}  // namespace

PixelFormatResult setPixelFormat(HDC deviceContext) {
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 32;
    request.cAlphaBits = 8;
    request.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(deviceContext, &request);
    if (format == 0) return PixelFormatResult::noneMatches;
    return SetPixelFormat(deviceContext, format, &request) ? PixelFormatResult::set
                                                          : PixelFormatResult::notSet;
}

HGLRC createCoreContext(HDC deviceContext, int majorVersion, int minorVersion) {
    auto createContextAttribs = reinterpret_cast<CreateContextAttribs>(
        reinterpret_cast<void*>(wglGetProcAddress("wglCreateContextAttribsARB")));
    if (!createContextAttribs) return nullptr;
    const int attributes[] = {
        contextMajorVersion, majorVersion,
        contextMinorVersion, minorVersion,
        contextProfileMask, contextCoreProfileBit,
        contextFlags, contextDebugBit,
        0};
    return createContextAttribs(deviceContext, nullptr, attributes);
}

}  // namespace platform
