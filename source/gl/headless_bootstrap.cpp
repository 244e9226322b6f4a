#include "gl/headless_bootstrap.h"

#include <GL/glew.h>

#include "platform/headless_gl.h"

bool bootstrapHeadlessGlContext() {
    if (!platform::createHeadlessGlContext(4, 3)) return false;
    // Debian's GLEW is built for GLX. Under EGL it loads every GL entry point
    // and only then fails to find a GLX display, so that one result means
    // that GL itself is ready.
    const GLenum result = glewInit();
    return result == GLEW_OK || result == GLEW_ERROR_NO_GLX_DISPLAY;
}
