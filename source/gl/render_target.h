#pragma once

#include <GL/glew.h>

// An off-screen framebuffer with an RGBA8 colour texture and a depth buffer.
struct RenderTarget {
    GLuint framebuffer = 0;
    GLuint colorTexture = 0;
    GLuint depthBuffer = 0;
    GLsizei width = 0, height = 0;
};

// Makes a complete target of the given size, or ends the program with
// "Invalid Framebuffer.". Leaves the new objects bound.
RenderTarget createRenderTarget(GLsizei width, GLsizei height);

// A new framebuffer name bound to GL_FRAMEBUFFER. Drivers without
// glCreateFramebuffers (GL 4.3 without direct state access) generate and bind.
GLuint createBoundFramebuffer(bool directStateAccess);
