// A headless OpenGL context with EGL on Mesa's surfaceless platform.
//
// Implemented:
//  - One OpenGL core context for the whole process, with no X display, no
//    window and no surface: it draws only into framebuffer objects.
// Missing:
//  - Tear-down: Mesa's eglTerminate unloads the driver and loses one of its
//    own allocations, so the context lives until the process ends.
//  - Platforms other than Mesa's surfaceless one.
#include "platform/headless_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace platform {

bool createHeadlessGlContext(int majorVersion, int minorVersion) {
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return false;
    EGLDisplay display =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return false;
    if (!eglBindAPI(EGL_OPENGL_API)) return false;

    const EGLint attributes[] = {
        EGL_CONTEXT_MAJOR_VERSION, majorVersion,
        EGL_CONTEXT_MINOR_VERSION, minorVersion,
        EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
        EGL_NONE};
    // Without a surface the context needs no configuration either.
    EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) return false;
    return eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) == EGL_TRUE;
}

}  // namespace platform
