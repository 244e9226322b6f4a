#pragma once

#include <GL/glew.h>

// Reports a pending GL error, naming the place in the source that checked.
void checkGlError(const char* sourceFile, int line);
#define CHECK_GL_ERROR() checkGlError(__FILE_NAME__, __LINE__)

// The driver's debug-output callback; it may run on a driver thread, so it
// touches nothing but its own stack.
void GLAPIENTRY onGlDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                                 GLsizei length, const GLchar* message, const void* userParam);
