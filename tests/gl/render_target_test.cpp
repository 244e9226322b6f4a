#include <gtest/gtest.h>
#include <array>
#include <tuple>

#include "gl/render_target.h"
#include "support/gl_test_context.h"

namespace {

// Distinct and complete, of their size, with a depth buffer for the layers,
// cleared to transparent black up to their last column; the framebuffer name is made with and without direct
// state access alike.
TEST(RenderTargetTest, TargetsAreDistinctCompleteAndSized) {
    ensureGlContext();
    const RenderTarget watch = createRenderTarget(256, 256), menu = createRenderTarget(1280, 640);
    EXPECT_NE(watch.framebuffer, menu.framebuffer);
    EXPECT_NE(watch.colorTexture, menu.colorTexture);
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
