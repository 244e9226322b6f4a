#pragma once

#include <GL/glew.h>

// Off until the entry point turns it on as its very first step; only
// logMessage reads it.
extern bool loggingEnabled;

// Writes "[YYYY-MM-DD hh:mm:ss] " and the formatted message to the debugger
// output, ending with the caller's own line break or an added line feed.
// The whole line is cut to 1023 characters.
void logMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Reports a pending GL error, naming the place in the source that checked.
void checkGlError(const char* sourceFile, int line);
#define CHECK_GL_ERROR() checkGlError(__FILE_NAME__, __LINE__)

// The driver's debug-output callback; it may run on a driver thread, so it
// touches nothing but its own stack.
void GLAPIENTRY onGlDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                                 GLsizei length, const GLchar* message, const void* userParam);
