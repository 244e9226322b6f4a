#include <gtest/gtest.h>

#include <array>

#include "gl/render_target.h"
#include "support/gl_test_context.h"

namespace {

GLint textureLevelParameter(GLuint texture, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    return value;
}

std::array<GLubyte, 4> clearedTexel(const RenderTarget& target, GLsizei width, GLsizei height) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    std::array<GLubyte, 4> texel{1, 1, 1, 1};
    glReadPixels(width - 1, height / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, texel.data());
    return texel;
}

TEST(RenderTargetTest, WatchAndMenuTargetsAreDistinctCompleteAndSized) {
    ensureGlContext();
    const RenderTarget watch = createRenderTarget(256, 256);
    const RenderTarget menu = createRenderTarget(1280, 1280);
    EXPECT_NE(watch.framebuffer, menu.framebuffer);
    EXPECT_NE(watch.colorTexture, menu.colorTexture);

    EXPECT_EQ(textureLevelParameter(watch.colorTexture, GL_TEXTURE_WIDTH), 256);
    EXPECT_EQ(textureLevelParameter(watch.colorTexture, GL_TEXTURE_HEIGHT), 256);
    EXPECT_EQ(textureLevelParameter(menu.colorTexture, GL_TEXTURE_WIDTH), 1280);
    EXPECT_EQ(textureLevelParameter(menu.colorTexture, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);

    for (const RenderTarget* target : {&watch, &menu}) {
        glBindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
        GLint depthType = 0;
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                              GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &depthType);
        EXPECT_EQ(depthType, GL_RENDERBUFFER);
    }
    EXPECT_EQ(clearedTexel(watch, 256, 256), (std::array<GLubyte, 4>{0, 0, 0, 0}));
    EXPECT_EQ(clearedTexel(menu, 1280, 1280), (std::array<GLubyte, 4>{0, 0, 0, 0}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(RenderTargetTest, ColourTextureSamplesWithoutMipmaps) {
    ensureGlContext();
    const RenderTarget target = createRenderTarget(256, 256);
    glBindTexture(GL_TEXTURE_2D, target.colorTexture);
    GLint maxLevel = -1, minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, &maxLevel);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(maxLevel, 0);
    EXPECT_EQ(minFilter, GL_LINEAR);
}

// Both ways of making the framebuffer name give a bound, usable framebuffer.
TEST(RenderTargetTest, FramebufferNameWithAndWithoutDirectStateAccess) {
    ensureGlContext();
    for (bool directStateAccess : {true, false}) {
        GLuint framebuffer = createBoundFramebuffer(directStateAccess);
        GLint bound = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        EXPECT_EQ(GLuint(bound), framebuffer);
        EXPECT_TRUE(glIsFramebuffer(framebuffer));
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
    }
}

}  // namespace
