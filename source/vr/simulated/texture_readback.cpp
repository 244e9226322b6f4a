#include "vr/simulated/texture_readback.h"

#include <GL/glew.h>

#include <cstdint>

std::optional<TextureImage> readTexture(const Texture_t* texture, bool withPixels) {
    if (!texture || texture->eType != TextureType_OpenGL) return std::nullopt;
    std::uintptr_t handle = reinterpret_cast<std::uintptr_t>(texture->handle);
    GLuint name = static_cast<GLuint>(handle);
    if (handle != name || !glIsTexture(name)) return std::nullopt;

    // The caller's binding is put back: the program relies on its GL state.
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, name);
    TextureImage image;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
    const bool hasSize = image.width > 0 && image.height > 0;
    if (hasSize && withPixels) {
        image.bottomUpRgba.resize(static_cast<std::size_t>(image.width) *
                                  static_cast<std::size_t>(image.height) * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.bottomUpRgba.data());
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    if (!hasSize) return std::nullopt;
    return image;
}
