#include "watch/image_decode.h"

#include <climits>

#include <stb_image.h>

void DecodedPixelsFree::operator()(unsigned char* pixels) const { stbi_image_free(pixels); }

std::optional<DecodedImage> decodeImage(const unsigned char* bytes, std::size_t length) {
    if (!bytes || length == 0 || length > INT_MAX) return std::nullopt;
    const int byteCount = static_cast<int>(length);
    int width = 0, height = 0, channels = 0;
    // The header alone tells the size, before anything is allocated for it.
    if (!stbi_info_from_memory(bytes, byteCount, &width, &height, &channels)) return std::nullopt;
    // Some decoders accept a header of zero pixels: that is no image either.
    if (width < 1 || height < 1 || width > maxImageSide || height > maxImageSide) return std::nullopt;

    DecodedImage image;
    image.pixels.reset(
        stbi_load_from_memory(bytes, byteCount, &image.width, &image.height, &channels, STBI_rgb_alpha));
    if (!image.pixels) return std::nullopt;
    return image;
}
