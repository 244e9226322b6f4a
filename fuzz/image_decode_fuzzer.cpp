// The image decode over arbitrary bytes, without GL.
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "watch/image_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::optional<DecodedImage> image = decodeImage(data, size);
    if (!image) return 0;
    if (image->width < 1 || image->height < 1 || image->width > maxImageSide ||
        image->height > maxImageSide)
        std::abort();
    // Touch the last pixel: the buffer must hold the whole RGBA image.
    const std::size_t bytes = std::size_t(image->width) * std::size_t(image->height) * 4;
    volatile unsigned char last = image->pixels.get()[bytes - 1];
    (void)last;
    return 0;
}
