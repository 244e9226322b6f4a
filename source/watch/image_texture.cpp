#include "watch/image_texture.h"

#include <climits>
#include <memory>

#include <stb_image.h>

namespace {

struct DecodedImageFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

bool uploadImageTexture(const unsigned char* bytes, std::size_t length, GLuint* texture,
                        int* width, int* height) {
    if (!bytes || length == 0 || length > INT_MAX) return false;
    const int byteCount = static_cast<int>(length);
    int imageWidth = 0, imageHeight = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, byteCount, &imageWidth, &imageHeight, &channels))
        return false;
    if (imageWidth > maxImageSide || imageHeight > maxImageSide) return false;

    std::unique_ptr<stbi_uc, DecodedImageFree> pixels(stbi_load_from_memory(
        bytes, byteCount, &imageWidth, &imageHeight, &channels, STBI_rgb_alpha));
    if (!pixels) return false;

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, imageWidth, imageHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.get());
    pixels.reset();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    if (texture) *texture = name;
    if (width) *width = imageWidth;
    if (height) *height = imageHeight;
    return true;
}
