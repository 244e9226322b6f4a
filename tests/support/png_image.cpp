#include "support/png_image.h"

#include <stb_image.h>

#include "support/temporary_directory.h"

Image readPng(const std::string& path) {
    const std::string png = readWholeFile(path);
    Image image;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()), int(png.size()),
                                            &image.width, &image.height, &channels, 4);
    if (!pixels) return {};
    image.rgba.assign(pixels, pixels + std::size_t(image.width) * std::size_t(image.height) * 4);
    stbi_image_free(pixels);
    return image;
}
