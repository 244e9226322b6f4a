#include <gtest/gtest.h>
#include <cmath>
#include <tuple>

#include "config/settings.h"
#include "gl/fixed_gl_state.h"
#include "gl/render_target.h"
#include "support/test_files.h"
#include "support/watch_package_fixture.h"
#include "watch/text_raster.h"
#include "watch/watch_renderer.h"

namespace {

const Rgba red = {255, 0, 0, 255}, green = {0, 255, 0, 255}, blue = {0, 0, 255, 255}, white = {255, 255, 255, 255};
const Rgba transparent = {0, 0, 0, 0};

std::tm timeOfDay(int hour, int minute, int second) {
    std::tm time{};
    time.tm_hour = hour, time.tm_min = minute, time.tm_sec = second;
    return time;
}

// An image whose pixels come from a function of (x, y), y counted from the
// bottom as on the canvas.
template <typename PixelAt>
std::string image(int width, int height, PixelAt pixelAt) {
    std::vector<std::uint8_t> rgba;
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x) {
            const Rgba pixel = pixelAt(x, height - 1 - row);
            rgba.insert(rgba.end(), pixel.begin(), pixel.end());
        }
    return pngOfPixels(width, height, rgba);
}

// Draws into a 256 x 256 target prepared as the main loop prepares it.
class WatchRendererTest : public WatchPackageTest {
protected:
    void render(const Watch& watch, const std::tm& time) {
        static const RenderTarget target = createRenderTarget(256, 256);
        setFixedGlState();
        glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
        glViewport(0, 0, 256, 256);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glActiveTexture(GL_TEXTURE0);
        drawWatch(watch, WatchReadings{time, {}, {}, {}}, settings);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
    // The canvas pixel whose bottom-left corner is (x, y).
    Rgba pixel(int x, int y) {
        Rgba value{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, value.data());
        return value;
    }

    Settings settings;
};

// Hours and minutes move every second, seconds step.
TEST(HandAngleTest, AFullTurnIsTwelveHoursOneHourOrOneMinute) {
    const std::tuple<HandBinding, std::tm, double> angles[] = {
        {HandBinding::Hour, timeOfDay(3, 0, 0), M_PI / 2},     {HandBinding::Hour, timeOfDay(15, 30, 0), 1.8326},
        {HandBinding::Hour, timeOfDay(12, 0, 0), 0},           {HandBinding::Hour, timeOfDay(0, 0, 0), 0},
        {HandBinding::Minute, timeOfDay(7, 15, 30), 1.6232},   {HandBinding::Second, timeOfDay(7, 8, 45), 4.7124},
        {HandBinding::None, timeOfDay(3, 0, 0), 0}};
    for (const auto& [binding, time, angle] : angles)
        EXPECT_NEAR(handAngle(binding, time), angle, 1e-4) << int(binding) << " " << time.tm_hour;
    EXPECT_GT(handAngle(HandBinding::Hour, timeOfDay(3, 0, 1)), handAngle(HandBinding::Hour, timeOfDay(3, 0, 0)));
}

TEST_F(WatchRendererTest, HandPointingUpTurnsClockwiseAboutItsPivotOnTheCentre) {
    add("hand.png", image(8, 64, [](int, int) { return red; }));
    add("config", ":hand\nfile=hand.png\nbind=HOUR\ncenter=4,4\n");
    const Watch& hour = load();
    render(hour, timeOfDay(0, 0, 0));
    EXPECT_EQ(std::make_pair(pixel(128, 168), pixel(168, 128)), std::make_pair(red, transparent));
    render(hour, timeOfDay(3, 0, 0));
    EXPECT_EQ(std::make_tuple(pixel(168, 128), pixel(128, 168), pixel(88, 128)),
              std::make_tuple(red, transparent, transparent));

    // Blue, with a green square around the pivot point (16, 100).
    add("hand.png", image(32, 128, [](int x, int y) {
            return std::abs(x - 16 + 0.5) < 3 && std::abs(y - 100 + 0.5) < 3 ? green : blue;
        }));
    add("config", ":hand\nfile=hand.png\nbind=second\ncenter=16,100\n");
    const Watch& second = load();
    for (int at : {0, 7, 15, 40}) {
        render(second, timeOfDay(1, 2, at));
        EXPECT_EQ(std::make_pair(pixel(128, 128), pixel(127, 127)), std::make_pair(green, green)) << at;
    }
}

TEST_F(WatchRendererTest, FacesSitOnePixelRightAndMirrorOnlyOnTheRightHand) {
    add("face.png", image(254, 256, [](int x, int) { return x < 127 ? red : blue; }));
    add("config", ":face\nfile=face.png\nmirrorOnRight=true\n");
    const Watch& face = load();
    render(face, timeOfDay(0, 0, 0));
    EXPECT_EQ(std::make_tuple(pixel(0, 100), pixel(1, 100), pixel(254, 100), pixel(255, 100)),
              std::make_tuple(transparent, red, blue, transparent));
    settings.watchOnRightHand = true;
    render(face, timeOfDay(0, 0, 0));
    EXPECT_EQ(std::make_pair(pixel(1, 100), pixel(254, 100)), std::make_pair(blue, red));

    // An unbound hand pivoted so it lies exactly where the face lies.
    add("config", ":hand\nfile=face.png\ncenter=127,128\n");
    render(load(), timeOfDay(0, 0, 0));
    EXPECT_EQ(pixel(1, 100), red) << "hands are never mirrored";
}

TEST_F(WatchRendererTest, LaterLayersLieOverEarlierOnesAndNoLayerLeavesAllTransparent) {
    add("red.png", image(256, 256, [](int, int) { return red; }));
    add("green.png", image(64, 64, [](int, int) { return green; }));
    add("config", ":face\nfile=red.png\n:face\nfile=green.png\n");
    const Watch& greenOnTop = load();
    add("config", ":face\nfile=green.png\n:face\nfile=red.png\n");
    const Watch& redOnTop = load();
    render(greenOnTop, timeOfDay(0, 0, 0));
    EXPECT_EQ(std::make_pair(pixel(20, 20), pixel(100, 100)), std::make_pair(green, red));
    render(redOnTop, timeOfDay(0, 0, 0));
    EXPECT_EQ(pixel(20, 20), red);
    add("config", ":watch\nname=Empty\n");
    render(load(), timeOfDay(10, 8, 37));
    std::vector<std::uint8_t> all(256 * 256 * 4, 1);
    glReadPixels(0, 0, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE, all.data());
    EXPECT_EQ(std::count(all.begin(), all.end(), 0), long(all.size()));
}

TEST_F(WatchRendererTest, TextShowsWhiteWhereItsGlyphsCover) {
    add("font.ttf", dejaVuSansBytes());
    add("config", ":text\nfontfamily=font.ttf\nfontsize=40\ncenter=60,150\ntext=%H\n");
    const Watch& watch = load();
    render(watch, timeOfDay(11, 0, 0));
    const TextImage expected = rasterizeText(watch.elements[0].fontFace.get(), "11", watch.elements[0].textCenter);
    int fullyCovered = 0;
    for (int row = 0; row < 256; ++row)
        for (int column = 0; column < 256; ++column) {
            const std::uint8_t coverage = expected[(row * 256 + column) * 4];
            if (coverage != 0 && coverage != 255) continue;
            EXPECT_EQ(pixel(column, 255 - row), coverage ? white : transparent)
                << row << "," << column;
            fullyCovered += coverage == 255;
        }
    EXPECT_GT(fullyCovered, 50);
}

}  // namespace
