// Battery gauges, battery texts and zoned hands as the renderer draws them.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "config/settings.h"
#include "gl/fixed_gl_state.h"
#include "gl/render_target.h"
#include "support/test_files.h"
#include "support/watch_package_fixture.h"
#include "watch/text_raster.h"
#include "watch/watch_renderer.h"

namespace {

using Rgba = std::array<std::uint8_t, 4>;
const Rgba red = {255, 0, 0, 255};

class ShownDataRenderTest : public WatchPackageTest {
protected:
    // The image drawn for the readings, rows from the bottom.
    std::vector<std::uint8_t> render(const Watch& watch, const WatchReadings& readings) {
        static const RenderTarget target = createRenderTarget(256, 256);
        setFixedGlState();
        glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
        glViewport(0, 0, 256, 256);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawWatch(watch, readings, Settings{});
        std::vector<std::uint8_t> image(256 * 256 * 4);
        glReadPixels(0, 0, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
        return image;
    }

    // Where a 40-pixel hand's end points at the clock angle in degrees.
    static Rgba pixelAtAngle(const std::vector<std::uint8_t>& image, double degrees) {
        const double radians = degrees * M_PI / 180;
        const int x = int(128 + 40 * std::sin(radians)), y = int(128 + 40 * std::cos(radians));
        const std::uint8_t* pixel = &image[(y * 256 + x) * 4];
        return {pixel[0], pixel[1], pixel[2], pixel[3]};
    }
};

TEST_F(ShownDataRenderTest, GaugeAndTextShowTheChargeAndNothingWithoutOne) {
    add("hand.png", pngOfColour(8, 64, 4, red.data()));
    add("font.ttf", dejaVuSansBytes());
    add("config",
        ":hand\nfile=hand.png\ncenter=4,4\nbattery=left\narc=-90,90\n"
        ":text\nfontfamily=font.ttf\nfontsize=20\ncenter=10,40\nbattery=left\ntext=%c%%%+\n");
    const Watch& watch = load();
    const struct {
        BatteryStatus battery;
        double handDegrees;  // NaN: no hand
        const char* text;
    } cases[] = {
        {{true, true, 1.0f, false}, 90, "100%"},
        {{true, true, 0.0f, false}, -90, "0%"},
        {{true, true, 0.15f, true}, -63, "15%+"},
        {{false, false, 0.0f, false}, NAN, ""},
        {{true, false, 0.0f, false}, NAN, ""},
    };
    for (const auto& test : cases) {
        WatchReadings readings;
        readings.batteries.leftHand = test.battery;
        const std::vector<std::uint8_t> image = render(watch, readings);
        for (double degrees : {-90.0, -63.0, 0.0, 90.0})
            EXPECT_EQ(pixelAtAngle(image, degrees) == red, degrees == test.handDegrees)
                << test.text << " at " << degrees;

        const TextImage expected = rasterizeText(watch.elements[1].fontFace.get(), test.text,
                                                 watch.elements[1].textCenter);
        int differing = 0, covered = 0;
        for (int row = 0; row < 64; ++row)
            for (int column = 0; column < 256; ++column) {
                const std::uint8_t alpha = image[((255 - row) * 256 + column) * 4 + 3];
                const std::uint8_t coverage = expected[(row * 256 + column) * 4];
                covered += alpha != 0;
                // Edge pixels blend; whole ones and empty ones must match.
                differing += (coverage == 0 || coverage == 255) && alpha != coverage;
            }
        EXPECT_EQ(differing, 0) << test.text;
        EXPECT_EQ(covered > 0, *test.text != '\0') << test.text;
    }
}

TEST_F(ShownDataRenderTest, HandsShowTheirOwnZoneOrThePreviewedLocalOne) {
    add("hand.png", pngOfColour(8, 64, 4, red.data()));
    add("config", ":hand\nfile=hand.png\ncenter=4,4\nbind=HOUR\nzone=Asia/Tokyo\n"
                  ":hand\nfile=hand.png\ncenter=4,4\nbind=HOUR\nzone=Nowhere/Atlantis\n");
    const Watch& watch = load();
    WatchReadings readings;  // local midnight, when it is 03:00 in Tokyo
    readings.instant = 18 * 3600;
    const std::vector<std::uint8_t> image = render(watch, readings);
    EXPECT_EQ(pixelAtAngle(image, 90), red);
    EXPECT_EQ(pixelAtAngle(image, 0), red) << "an unknown zone shows local time";

    add("config", ":hand\nfile=hand.png\ncenter=4,4\nbind=HOUR\n");
    readings.localZone = findTimeZone("Asia/Tokyo");
    const std::vector<std::uint8_t> preview = render(load(), readings);
    EXPECT_EQ(pixelAtAngle(preview, 90), red);
    EXPECT_NE(pixelAtAngle(preview, 0), red);
}

}  // namespace
