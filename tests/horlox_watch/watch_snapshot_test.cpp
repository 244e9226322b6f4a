#include <gtest/gtest.h>

#include <array>

#include <stb_image.h>

#include "config/settings.h"
#include "horlox_watch/watch_snapshot.h"
#include "support/package_files.h"
#include "support/watch_package_fixture.h"

namespace {

using Rgba = std::array<std::uint8_t, 4>;
const Rgba red = {255, 0, 0, 255}, transparent = {0, 0, 0, 0};

Rgba pixelAt(const RgbaImage& image, int x, int row) {
    const std::size_t at = (std::size_t(row) * image.width + x) * 4;
    return {image.pixels[at], image.pixels[at + 1], image.pixels[at + 2], image.pixels[at + 3]};
}

std::tm timeOfDay(int hour) {
    std::tm time{};
    time.tm_hour = hour;
    return time;
}

using WatchSnapshotTest = WatchPackageTest;

TEST_F(WatchSnapshotTest, ImagesAreUprightWithTheHandWhereTheTimePutsIt) {
    // A red hand pointing up from its pivot at the bottom.
    add("hand.png", pngOfColour(8, 64, 4, red.data()));
    add("config", ":hand\nfile=hand.png\nbind=HOUR\ncenter=4,4\n");
    const Watch& watch = load();
    static const RenderTarget target = createRenderTarget(watchImageSide, watchImageSide);
    Settings settings;

    const RgbaImage noon =
        drawWatchImage(target, watch, WatchReadings{timeOfDay(0), {}, {}, {}}, settings);
    ASSERT_EQ(noon.pixels.size(), 256u * 256u * 4u);
    // Row 0 is the top: the hand reaches up from the centre.
    EXPECT_EQ(pixelAt(noon, 128, 127 - 40), red);
    EXPECT_EQ(pixelAt(noon, 128, 127 + 40), transparent);

    const RgbaImage three =
        drawWatchImage(target, watch, WatchReadings{timeOfDay(3), {}, {}, {}}, settings);
    EXPECT_EQ(pixelAt(three, 128 + 40, 127), red);
    EXPECT_EQ(pixelAt(three, 128 - 40, 127), transparent);
    EXPECT_EQ(pixelAt(three, 128, 127 - 40), transparent);
}

TEST(WatchSnapshot, EnlargingRepeatsEveryPixelAndPngKeepsThemAll) {
    const RgbaImage small{2, 1, {1, 2, 3, 4, 250, 251, 252, 0}};
    const RgbaImage large = enlarged(small, 3);
    ASSERT_EQ(large.width, 6);
    ASSERT_EQ(large.height, 3);
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(pixelAt(large, x, row), pixelAt(small, x / 3, 0)) << x << "," << row;
    EXPECT_EQ(enlarged(small, 1).pixels, small.pixels);

    const std::string png = encodePng(large);
    int width = 0, height = 0, channels = 0;
    stbi_uc* decoded =
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()),
                              static_cast<int>(png.size()), &width, &height, &channels, 4);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(std::vector<std::uint8_t>(decoded, decoded + width * height * 4), large.pixels);
    EXPECT_EQ(channels, 4);
    stbi_image_free(decoded);
}

}  // namespace
