#pragma once

#include <openxr/openxr.h>

#include <cstdint>
#include <optional>
#include <vector>

// OpenGL's name for its objects, without the GL headers.
typedef unsigned int GLuint;

// An overlay's picture on the runtime's side: a swapchain the size of the
// texture last handed over, whose last released image holds a copy of it.
struct QuadImage {
    XrSwapchain swapchain = XR_NULL_HANDLE;
    std::vector<GLuint> images;
    std::uint32_t width = 0, height = 0;
    // An image was acquired, but waiting for it timed out: the next copy
    // waits for it again.
    std::optional<std::uint32_t> acquired;
    bool released = false;  // the quad has something to show
    GLuint source = 0;      // the texture copied, for copying it again
    float alpha = 1;        // the alpha it was copied with
};

// The GL objects that draw a texture into a quad's image.
struct QuadCopier {
    GLuint program = 0;
    GLuint alphaLocation = 0;
    GLuint vertexArray = 0;
    GLuint framebuffer = 0;
};

// Copies the texture into the quad's next image with its colours scaled by
// alpha (premultiplied: every channel), making the swapchain first when it
// has none of the texture's size. The GL state the program relies on is left
// as it was. XR_ERROR_VALIDATION_FAILURE for a texture that GL does not know.
XrResult copyIntoQuad(XrSession session, std::int64_t format, QuadCopier& copier, QuadImage& quad,
                      GLuint texture, float alpha);

void destroyQuadImage(QuadImage& quad);
void destroyQuadCopier(QuadCopier& copier);
