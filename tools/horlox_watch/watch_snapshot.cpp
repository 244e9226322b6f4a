#include "horlox_watch/watch_snapshot.h"

#include <cstring>

#include <stb_image_write.h>

#include "gl/fixed_gl_state.h"
#include "watch/watch_renderer.h"

RgbaImage drawWatchImage(const RenderTarget& target, const Watch& watch,
                         const WatchReadings& readings, const Settings& settings) {
    setFixedGlState();
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(0, 0, watchImageSide, watchImageSide);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawWatch(watch, readings, settings);

    const std::size_t rowBytes = std::size_t{watchImageSide} * 4;
    std::vector<std::uint8_t> bottomUp(rowBytes * watchImageSide);
    glReadPixels(0, 0, watchImageSide, watchImageSide, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());

    RgbaImage image{watchImageSide, watchImageSide, std::vector<std::uint8_t>(bottomUp.size())};
    for (std::size_t row = 0; row < std::size_t{watchImageSide}; ++row)
        std::memcpy(&image.pixels[row * rowBytes], &bottomUp[(watchImageSide - 1 - row) * rowBytes],
                    rowBytes);
    return image;
}

RgbaImage enlarged(const RgbaImage& image, int factor) {
    RgbaImage large{image.width * factor, image.height * factor, {}};
    large.pixels.reserve(std::size_t(large.width) * std::size_t(large.height) * 4);
    for (int y = 0; y < large.height; ++y)
        for (int x = 0; x < large.width; ++x) {
            const auto pixel =
                image.pixels.begin() + (std::ptrdiff_t(y / factor) * image.width + x / factor) * 4;
            large.pixels.insert(large.pixels.end(), pixel, pixel + 4);
        }
    return large;
}

std::string encodePng(const RgbaImage& image) {
    std::string png;
    auto append = [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data), size);
    };
    stbi_write_png_to_func(append, &png, image.width, image.height, 4, image.pixels.data(),
                           image.width * 4);
    return png;
}
