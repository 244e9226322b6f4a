#include "gl/gl_diagnostics.h"

#include "platform/log.h"

void checkGlError(const char* sourceFile, int line) {
    GLenum error = glGetError();
    if (error == GL_NO_ERROR) return;
    logThrottled("OpenGL error %#x at %s:%d", error, sourceFile, line);
}

void GLAPIENTRY onGlDebugMessage(GLenum, GLenum, GLuint, GLenum severity, GLsizei,
                                 const GLchar* message, const void*) {
    if (severity == GL_DEBUG_SEVERITY_NOTIFICATION) return;
    logThrottled("OpenGL says: %s", message);
}
