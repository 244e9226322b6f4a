#include "gl/gl_diagnostics.h"

#include <cstdio>

#include "platform/debug_output.h"

namespace {

constexpr size_t lineBufferSize = 1024;

}  // namespace

void checkGlError(const char* sourceFile, int line) {
    GLenum error = glGetError();
    if (error == GL_NO_ERROR) return;
    char text[lineBufferSize];
    std::snprintf(text, sizeof text, "OpenGL Error (%s:%d): %x\n", sourceFile, line, error);
    platform::writeDebugOutput(text);
}

void GLAPIENTRY onGlDebugMessage(GLenum, GLenum, GLuint, GLenum severity, GLsizei,
                                 const GLchar* message, const void*) {
    if (severity == GL_DEBUG_SEVERITY_NOTIFICATION) return;
    char text[lineBufferSize];
    std::snprintf(text, sizeof text, "OpenGL Debug Message: %s\n", message);
    platform::writeDebugOutput(text);
}
