#include "vr/openxr/laser_pictures.h"

#include <GL/glew.h>

#include <cmath>
#include <vector>

namespace {

constexpr int pointerPixels = 32;

// A texture of the pixels (RGBA, premultiplied), for copying into a quad.
GLuint textureOf(const std::vector<std::uint8_t>& rgba, int width, int height) {
    GLint bound = 0, alignment = 4;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    return texture;
}

std::vector<std::uint8_t> pointerPicture() {
    std::vector<std::uint8_t> rgba;
    const float centre = (pointerPixels - 1) / 2.0f, radius = pointerPixels / 2.0f;
    for (int y = 0; y < pointerPixels; ++y)
        for (int x = 0; x < pointerPixels; ++x) {
            const float from = std::hypot(x - centre, y - centre);
            const std::uint8_t grey = from < radius * 0.7f ? 255 : 40;
            const std::uint8_t alpha = from < radius ? 255 : 0;
            for (std::uint8_t channel : {grey, grey, grey}) rgba.push_back(alpha ? channel : 0);
            rgba.push_back(alpha);
        }
    return rgba;
}

XrResult copyPicture(XrSession session, std::int64_t format, QuadCopier& copier, QuadImage& quad,
                     const std::vector<std::uint8_t>& rgba, int width, int height) {
    const GLuint texture = textureOf(rgba, width, height);
    const XrResult result = copyIntoQuad(session, format, copier, quad, texture, 1);
    glDeleteTextures(1, &texture);
    return result;
}

}  // namespace

XrResult drawLaserPictures(XrSession session, std::int64_t format, QuadCopier& copier,
                           QuadImage& pointer, QuadImage& ray) {
    const XrResult result =
        copyPicture(session, format, copier, pointer, pointerPicture(), pointerPixels, pointerPixels);
    if (XR_FAILED(result)) return result;
    // Pale blue at 80 %, premultiplied.
    const std::vector<std::uint8_t> blue = {150, 180, 204, 204, 150, 180, 204, 204,
                                            150, 180, 204, 204, 150, 180, 204, 204};
    return copyPicture(session, format, copier, ray, blue, 2, 2);
}
