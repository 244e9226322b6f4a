#include "gl/context_bootstrap.h"

#include <GL/glew.h>

#include "gl/gl_diagnostics.h"
#include "platform/debug_output.h"
#include "platform/log.h"
#include "platform/window.h"

namespace {

void require(bool succeeded, const char* failureMessage) {
    if (!succeeded) platform::fatalExit(failureMessage);
}

}  // namespace

platform::Window& bootstrapGlContext(bool offline) {
    platform::Window* window = platform::openDisplay();
    require(window != nullptr, "Failed to open display.");
    require(platform::chooseFramebufferConfig(*window), "Failed to choose pixel format.");
    require(platform::createWindow(*window, offline), "Failed to create window.");
    require(platform::createTemporaryContext(*window), "Failed to create dummy OpenGL context.");
    require(platform::activateTemporaryContext(*window),
            "Failed to activate dummy OpenGL context.");

    // The entry points loaded with the temporary context serve the core
    // context too; they are loaded once.
    require(glewInit() == GLEW_OK, "Failed to load OpenGL extensions.");
    CHECK_GL_ERROR();

    require(platform::createCoreContext(*window, 4, 3), "Failed to create core OpenGL context.");
    require(platform::activateCoreContext(*window), "Failed to activate core OpenGL context.");
    platform::deleteTemporaryContext(*window);

    glDebugMessageCallback(onGlDebugMessage, nullptr);

    if (const GLubyte* version = glGetString(GL_VERSION)) {
        logMessage("GL_VERSION: %s", reinterpret_cast<const char*>(version));
        logMessage("GL_RENDERER: %s", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    }
    return *window;
}
