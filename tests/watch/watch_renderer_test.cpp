// Watches drawn as the main loop draws them: hands by the time or a battery,
// faces and texts. The order of the layers, hands and texts in a zone of their
// own and a previewed local zone are the shipped watches' pictures'
// (tests/program/watch_pictures_test.cpp).
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "support/watch_package_fixture.h"
#include "watch/text_raster.h"
#include "watch/watch_renderer.h"

namespace {

const Rgba red = {255, 0, 0, 255}, blue = {0, 0, 255, 255}, none = {0, 0, 0, 0};

std::tm timeOfDay(int hour, int minute, int second) {
    std::tm time{};
    time.tm_hour = hour, time.tm_min = minute, time.tm_sec = second;
    return time;
}

// Draws as the main loop draws and looks at the canvas drawn.
class WatchRendererTest : public WatchPackageTest {
protected:
    void render(const Watch& watch, const WatchReadings& readings) { drawn = draw(watch, readings, rightHand); }
    void render(const Watch& watch, const std::tm& time) {
        WatchReadings readings;
        readings.localTime = time;
        render(watch, readings);
    }
    // The canvas pixel whose bottom-left corner is (x, y).
    Rgba pixel(int x, int y) const { return drawn.at(x, 255 - y); }
    // Where the end of a 40-pixel hand on the centre lies at the clock angle in degrees.
    Rgba pixelAtAngle(double degrees) const {
        return pixel(int(128 + 40 * std::sin(degrees * M_PI / 180)), int(128 + 40 * std::cos(degrees * M_PI / 180)));
    }
    // Pixels of the top rows that the text image covers wholly or not at all
    // but the canvas shows otherwise than white or empty, or that it covers in
    // part, more than faintly, but the canvas leaves empty (edges blend).
    int textMismatches(const TextImage& expected, int rows) const {
        int mismatches = 0;
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < 256; ++column) {
                const std::uint8_t coverage = expected[(row * 256 + column) * 4];
                const Rgba shown = drawn.at(column, row);
                mismatches += coverage == 0 || coverage == 255 ? shown != Rgba{coverage, coverage, coverage, coverage}
                                                               : coverage > 32 && shown == none;
            }
        return mismatches;
    }

    bool rightHand = false;
    Image drawn;
};

// Hours and minutes move every second, seconds step.
TEST(HandAngleTest, AFullTurnIsTwelveHoursOneHourOrOneMinute) {
    const std::tuple<HandBinding, std::tm, double> angles[] = {
        {HandBinding::Hour, timeOfDay(15, 30, 0), 1.8326}, {HandBinding::Minute, timeOfDay(7, 15, 30), 1.6232},
        {HandBinding::Second, timeOfDay(7, 8, 45), 4.7124}, {HandBinding::None, timeOfDay(3, 0, 0), 0}};
    for (const auto& [binding, time, angle] : angles)
        EXPECT_NEAR(handAngle(binding, time), angle, 1e-4) << int(binding) << " " << time.tm_hour;
    EXPECT_GT(handAngle(HandBinding::Hour, timeOfDay(3, 0, 1)), handAngle(HandBinding::Hour, timeOfDay(3, 0, 0)));
}

// The gauge turns over its arc with the charge and the text shows it, both
// held to full; a device without a charge shows neither.
TEST_F(WatchRendererTest, GaugeAndTextShowTheChargeAndNothingWithoutOne) {
    add("hand.png", pngOfColour(8, 64, 4, red.data()));
    add("font.ttf", dejaVuSansBytes());
    add("config", ":hand\nfile=hand.png\ncenter=4,4\nbattery=left\narc=0,180\n"
                  ":text\nfontfamily=font.ttf\nfontsize=20\ncenter=10,40\nbattery=left\ntext=%c%%%+\n");
    const Watch& watch = load();
    const struct {
        BatteryStatus battery;
        double handDegrees;  // NaN: no hand
        const char* text;
    } cases[] = {{{true, true, 1.5f, false}, 180, "100%"}, {{true, true, 0.0f, false}, 0, "0%"},
                 {{true, true, 0.15f, true}, 27, "15%+"},  {{false, false, 0.0f, false}, NAN, ""},
                 {{true, false, 0.0f, false}, NAN, ""}};
    for (const auto& test : cases) {
        WatchReadings readings;
        readings.batteries.leftHand = test.battery;
        render(watch, readings);
        for (double degrees : {0.0, 27.0, 90.0, 180.0})
            EXPECT_EQ(pixelAtAngle(degrees) == red, degrees == test.handDegrees) << test.text << " at " << degrees;
        const WatchElement& text = watch.elements[1];
        const TextImage expected = rasterizeText(text.fontFace.get(), test.text, text.textCenter);
        EXPECT_EQ(textMismatches(expected, 64), 0) << test.text;
        EXPECT_EQ(std::count(expected.begin(), expected.end(), 255) > 0, *test.text != '\0') << test.text;
    }
}

TEST_F(WatchRendererTest, FacesSitOnePixelRightAndMirrorOnlyOnTheRightHand) {
    std::vector<std::uint8_t> halves;  // red on the left, blue on the right
    for (int i = 0; i < 254 * 256; ++i) {
        const Rgba& colour = i % 254 < 127 ? red : blue;
        halves.insert(halves.end(), colour.begin(), colour.end());
    }
    add("face.png", pngOfPixels(254, 256, halves));
    add("config", ":face\nfile=face.png\nmirrorOnRight=true\n");
    const Watch& face = load();
    render(face, timeOfDay(0, 0, 0));
    EXPECT_EQ(std::make_tuple(pixel(0, 100), pixel(1, 100), pixel(254, 100), pixel(255, 100)),
              std::make_tuple(none, red, blue, none));
    rightHand = true;
    render(face, timeOfDay(0, 0, 0));
    EXPECT_EQ(std::make_pair(pixel(1, 100), pixel(254, 100)), std::make_pair(blue, red));

    // An unbound hand pivoted so it lies exactly where the face lies.
    add("config", ":hand\nfile=face.png\ncenter=127,128\n");
    render(load(), timeOfDay(0, 0, 0));
    EXPECT_EQ(pixel(1, 100), red) << "hands are never mirrored";
}

TEST_F(WatchRendererTest, TextShowsTheLocalTimeWhiteWhereItsGlyphsCover) {
    add("font.ttf", dejaVuSansBytes());
    add("config", ":text\nfontfamily=font.ttf\nfontsize=40\ncenter=60,150\ntext=%H\n");
    const Watch& watch = load();
    render(watch, timeOfDay(11, 0, 0));
    const TextImage expected = rasterizeText(watch.elements[0].fontFace.get(), "11", watch.elements[0].textCenter);
    EXPECT_GT(std::count(expected.begin(), expected.end(), 255), 4 * 50);
    EXPECT_EQ(textMismatches(expected, 256), 0);
}

}  // namespace
