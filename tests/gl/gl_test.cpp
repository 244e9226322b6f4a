// The GL side's diagnostics and render targets.
#include <gtest/gtest.h>
#include <array>
#include <tuple>

#include "gl/gl_diagnostics.h"
#include "gl/render_target.h"
#include "support/debug_output_capture.h"
#include "support/gl_test_context.h"

namespace {

// A pending error is logged with its place and hex code, and none is silent;
// driver messages reach the log through the callback, notifications dropped,
// other severities written, at most one line a second.
TEST(GlDiagnosticsTest, ErrorsAndDriverMessagesOtherThanNotificationsAreLogged) {
    ensureGlContext();
    while (glGetError() != GL_NO_ERROR) {
    }
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);  // so the messages arrive before the checks
    const LogCapture output;
    checkGlError("main.cpp", 1);
    glDebugMessageInsert(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_MARKER, 1, GL_DEBUG_SEVERITY_NOTIFICATION,
                         -1, "quiet");
    glDebugMessageInsert(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_OTHER, 2, GL_DEBUG_SEVERITY_HIGH, -1, "loud");
    for (GLenum severity : {GL_DEBUG_SEVERITY_MEDIUM, GL_DEBUG_SEVERITY_LOW})
        onGlDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 7, severity, -1, "50% bad", nullptr);
    glEnable(0xFFFF);  // not a capability: GL_INVALID_ENUM
    checkGlError("main.cpp", 42);
    glDisable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    EXPECT_EQ(output.messages(), "OpenGL says: loud\nOpenGL error 0x500 at main.cpp:42\n")
        << "the rest of the second left out";
}

// Complete and of their size, with a depth buffer for the layers, cleared to
// transparent black up to their last column; the framebuffer name is made
// with and without direct state access alike.
TEST(RenderTargetTest, TargetsAreCompleteAndSized) {
    ensureGlContext();
    const RenderTarget watch = createRenderTarget(256, 256), menu = createRenderTarget(1280, 640);
    for (const auto& [target, width, height] : {std::tuple{watch, 256, 256}, std::tuple{menu, 1280, 640}}) {
        GLint size[2] = {};
        glBindTexture(GL_TEXTURE_2D, target.colorTexture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size[0]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size[1]);
        EXPECT_EQ(std::make_pair(size[0], size[1]), std::make_pair(width, height));
        // The texture has one level: a mipmap filter would sample it as black.
        GLint minFilter = 0, depthBits = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                              GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
        EXPECT_EQ(std::make_pair(minFilter, depthBits > 0), std::make_pair(GLint(GL_LINEAR), true));
        glViewport(0, 0, width, height);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        std::array<GLubyte, 4> texel{1, 1, 1, 1};
        glReadPixels(width - 1, height / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, texel.data());
        EXPECT_EQ(texel, (std::array<GLubyte, 4>{0, 0, 0, 0}));
    }
    for (bool directStateAccess : {true, false}) {
        GLuint framebuffer = createBoundFramebuffer(directStateAccess);
        GLint bound = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        EXPECT_EQ(GLuint(bound), framebuffer);
        EXPECT_TRUE(glIsFramebuffer(framebuffer));
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
