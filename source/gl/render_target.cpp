#include "gl/render_target.h"

#include "gl/gl_diagnostics.h"
#include "platform/debug_output.h"

GLuint createBoundFramebuffer(bool directStateAccess) {
    GLuint framebuffer = 0;
    if (directStateAccess)
        glCreateFramebuffers(1, &framebuffer);
    else
        glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    return framebuffer;
}

RenderTarget createRenderTarget(GLsizei width, GLsizei height) {
    RenderTarget target;
    target.width = width;
    target.height = height;
    target.framebuffer = createBoundFramebuffer(glCreateFramebuffers != nullptr);

    glGenRenderbuffers(1, &target.depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, target.depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              target.depthBuffer);

    // One level with a linear minifying filter: complete without mipmaps.
    glGenTextures(1, &target.colorTexture);
    glBindTexture(GL_TEXTURE_2D, target.colorTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, target.colorTexture, 0);

    const GLenum drawBuffers[] = {GL_COLOR_ATTACHMENT0};
    glDrawBuffers(1, drawBuffers);

    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        platform::fatalExit("Invalid Framebuffer.");
    CHECK_GL_ERROR();
    return target;
}
