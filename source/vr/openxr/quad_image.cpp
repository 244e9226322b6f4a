#include "vr/openxr/quad_image.h"

#include <GL/glew.h>
#define XR_USE_GRAPHICS_API_OPENGL
#include <openxr/openxr_platform.h>

#include "platform/log.h"
#include "vr/openxr/openxr_record.h"

namespace {

// How long a copy waits for the compositor to give an image back.
constexpr XrDuration imageWaitNanoseconds = 500'000'000;

// One triangle over the whole image; each pixel takes its own texel, so the
// copy is exact at alpha 1.
constexpr char vertexShader[] = R"(#version 330 core
void main() {
    vec2 corner = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";
constexpr char fragmentShader[] = R"(#version 330 core
uniform sampler2D image;
uniform float alpha;
out vec4 colour;
void main() { colour = texelFetch(image, ivec2(gl_FragCoord.xy), 0) * alpha; }
)";

GLuint compiledShader(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        char message[512] = "";
        glGetShaderInfoLog(shader, sizeof message, nullptr, message);
        logMessage("OpenXR quad copy: shader not compiled: %s", message);
    }
    return shader;
}

bool prepareCopier(QuadCopier& copier) {
    if (copier.program) return true;
    const GLuint vertex = compiledShader(GL_VERTEX_SHADER, vertexShader);
    const GLuint fragment = compiledShader(GL_FRAGMENT_SHADER, fragmentShader);
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        glDeleteProgram(program);
        return false;
    }
    copier.program = program;
    copier.alphaLocation = static_cast<GLuint>(glGetUniformLocation(program, "alpha"));
    glGenVertexArrays(1, &copier.vertexArray);
    glGenFramebuffers(1, &copier.framebuffer);
    return true;
}

// The GL state a copy changes, put back afterwards: the program draws with
// blending and depth testing on and binds its own objects as it goes.
struct SavedGlState {
    GLint program, vertexArray, drawFramebuffer, activeTexture, texture;
    GLint viewport[4];
    GLboolean blend, depthTest, scissorTest;

    SavedGlState() {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
        glGetIntegerv(GL_ACTIVE_TEXTURE, &activeTexture);
        glActiveTexture(GL_TEXTURE0);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        glGetIntegerv(GL_VIEWPORT, viewport);
        blend = glIsEnabled(GL_BLEND);
        depthTest = glIsEnabled(GL_DEPTH_TEST);
        scissorTest = glIsEnabled(GL_SCISSOR_TEST);
    }
    ~SavedGlState() {
        glUseProgram(static_cast<GLuint>(program));
        glBindVertexArray(static_cast<GLuint>(vertexArray));
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer));
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
        glActiveTexture(static_cast<GLenum>(activeTexture));
        glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        (blend ? glEnable : glDisable)(GL_BLEND);
        (depthTest ? glEnable : glDisable)(GL_DEPTH_TEST);
        (scissorTest ? glEnable : glDisable)(GL_SCISSOR_TEST);
    }
};

XrResult createSwapchain(XrSession session, std::int64_t format, QuadImage& quad,
                         std::uint32_t width, std::uint32_t height) {
    destroyQuadImage(quad);
    auto info = xrRecord<XrSwapchainCreateInfo>(XR_TYPE_SWAPCHAIN_CREATE_INFO);
    info.usageFlags = XR_SWAPCHAIN_USAGE_COLOR_ATTACHMENT_BIT | XR_SWAPCHAIN_USAGE_SAMPLED_BIT;
    info.format = format;
    info.sampleCount = 1;
    info.width = width;
    info.height = height;
    info.faceCount = 1;
    info.arraySize = 1;
    info.mipCount = 1;
    XrResult result = xrCreateSwapchain(session, &info, &quad.swapchain);
    if (XR_FAILED(result)) return result;
    std::uint32_t count = 0;
    result = xrEnumerateSwapchainImages(quad.swapchain, 0, &count, nullptr);
    std::vector<XrSwapchainImageOpenGLKHR> images(
        count, xrRecord<XrSwapchainImageOpenGLKHR>(XR_TYPE_SWAPCHAIN_IMAGE_OPENGL_KHR));
    if (XR_SUCCEEDED(result))
        result = xrEnumerateSwapchainImages(
            quad.swapchain, count, &count,
            reinterpret_cast<XrSwapchainImageBaseHeader*>(images.data()));
    if (XR_FAILED(result)) {
        destroyQuadImage(quad);
        return result;
    }
    for (std::uint32_t i = 0; i < count && i < images.size(); ++i)
        quad.images.push_back(images[i].image);
    quad.width = width;
    quad.height = height;
    return XR_SUCCESS;
}

void draw(QuadCopier& copier, GLuint source, GLuint target, std::uint32_t width,
          std::uint32_t height, float alpha) {
    const SavedGlState saved;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, copier.framebuffer);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target, 0);
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_SCISSOR_TEST);
    glUseProgram(copier.program);
    glUniform1f(static_cast<GLint>(copier.alphaLocation), alpha);
    glBindTexture(GL_TEXTURE_2D, source);
    glBindVertexArray(copier.vertexArray);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
}

}  // namespace

XrResult copyIntoQuad(XrSession session, std::int64_t format, QuadCopier& copier, QuadImage& quad,
                      GLuint texture, float alpha) {
    if (!texture || !glIsTexture(texture) || !prepareCopier(copier))
        return XR_ERROR_VALIDATION_FAILURE;
    GLint width = 0, height = 0;
    {
        const SavedGlState saved;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    }
    if (width <= 0 || height <= 0) return XR_ERROR_VALIDATION_FAILURE;

    XrResult result = XR_SUCCESS;
    if (quad.swapchain == XR_NULL_HANDLE || quad.width != std::uint32_t(width) ||
        quad.height != std::uint32_t(height))
        result = createSwapchain(session, format, quad, width, height);
    if (XR_FAILED(result)) return result;
    if (!quad.acquired) {
        std::uint32_t index = 0;
        auto acquireInfo =
            xrRecord<XrSwapchainImageAcquireInfo>(XR_TYPE_SWAPCHAIN_IMAGE_ACQUIRE_INFO);
        result = xrAcquireSwapchainImage(quad.swapchain, &acquireInfo, &index);
        if (XR_FAILED(result)) return result;
        if (index >= quad.images.size()) return XR_ERROR_VALIDATION_FAILURE;
        quad.acquired = index;
    }
    auto waitInfo = xrRecord<XrSwapchainImageWaitInfo>(XR_TYPE_SWAPCHAIN_IMAGE_WAIT_INFO);
    waitInfo.timeout = imageWaitNanoseconds;
    result = xrWaitSwapchainImage(quad.swapchain, &waitInfo);
    if (result != XR_SUCCESS) return result;  // a timeout too: the image is not ours yet

    draw(copier, texture, quad.images[*quad.acquired], quad.width, quad.height, alpha);
    auto releaseInfo = xrRecord<XrSwapchainImageReleaseInfo>(XR_TYPE_SWAPCHAIN_IMAGE_RELEASE_INFO);
    result = xrReleaseSwapchainImage(quad.swapchain, &releaseInfo);
    quad.acquired.reset();
    if (XR_FAILED(result)) return result;
    quad.released = true;
    quad.source = texture;
    quad.alpha = alpha;
    return XR_SUCCESS;
}

void destroyQuadImage(QuadImage& quad) {
    if (quad.swapchain != XR_NULL_HANDLE) xrDestroySwapchain(quad.swapchain);
    quad = QuadImage{};
}

void destroyQuadCopier(QuadCopier& copier) {
    if (copier.program) glDeleteProgram(copier.program);
    if (copier.vertexArray) glDeleteVertexArrays(1, &copier.vertexArray);
    if (copier.framebuffer) glDeleteFramebuffers(1, &copier.framebuffer);
    copier = QuadCopier{};
}
