#pragma once

#include <cstddef>
#include <memory>
#include <optional>

// Images larger than this on either side are refused before decoding: a
// watch canvas is 256 pixels wide, and a forged header must not make the
// decoder ask for gigabytes.
constexpr int maxImageSide = 4096;

struct DecodedPixelsFree {
    void operator()(unsigned char* pixels) const;
};

// 8-bit RGBA, rows from the top of the image down.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::unique_ptr<unsigned char, DecodedPixelsFree> pixels;
};

// Decodes an encoded image (anything stb_image reads), upright, without
// touching GL. Nothing for bytes that are no image, an image without pixels,
// or one past the size limit.
std::optional<DecodedImage> decodeImage(const unsigned char* bytes, std::size_t length);
