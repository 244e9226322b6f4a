#include <gtest/gtest.h>

#include "watch/config_values.h"

namespace {

TEST(ConfigValuesTest, BindIsAnUpperCasedPrefix) {
    EXPECT_EQ(parseHandBinding("HOUR"), HandBinding::Hour);
    EXPECT_EQ(parseHandBinding("Hours"), HandBinding::Hour);
    EXPECT_EQ(parseHandBinding("hour_hand"), HandBinding::Hour);
    EXPECT_EQ(parseHandBinding("minute"), HandBinding::Minute);
    EXPECT_EQ(parseHandBinding("Seconds"), HandBinding::Second);
    EXPECT_EQ(parseHandBinding(" HOUR"), HandBinding::None);
    EXPECT_EQ(parseHandBinding("HOU"), HandBinding::None);
    EXPECT_EQ(parseHandBinding(""), HandBinding::None);
    EXPECT_EQ(parseHandBinding("\xC3\xA9HOUR"), HandBinding::None);
}

TEST(ConfigValuesTest, MovementIsContinuousOnlyAsTheWholeWord) {
    EXPECT_TRUE(parseMovement("continuous"));
    EXPECT_TRUE(parseMovement("CONTINUOUS"));
    EXPECT_FALSE(parseMovement("CONTINUOUS "));
    EXPECT_FALSE(parseMovement("continuously"));
    EXPECT_FALSE(parseMovement("smooth"));
    EXPECT_FALSE(parseMovement(""));
}

TEST(ConfigValuesTest, HandCentreTakesAnySingleSeparatorByte) {
    for (const char* value : {"64,200", "64 200", " 64, 200", "64;200"}) {
        CanvasPoint point = parseHandCenter(value);
        EXPECT_FLOAT_EQ(point.x, 64.0f) << value;
        EXPECT_FLOAT_EQ(point.y, 200.0f) << value;
    }
    CanvasPoint fraction = parseHandCenter("-1.5e1x200.5");
    EXPECT_FLOAT_EQ(fraction.x, -15.0f);
    EXPECT_FLOAT_EQ(fraction.y, 200.5f);
    CanvasPoint alone = parseHandCenter("128");
    EXPECT_FLOAT_EQ(alone.x, 128.0f);
    EXPECT_FLOAT_EQ(alone.y, 0.0f);
    // Two separators: the second one stops the second number.
    EXPECT_FLOAT_EQ(parseHandCenter("1,,2").y, 0.0f);
}

TEST(ConfigValuesTest, TextCentreReadsDecimalIntegers) {
    PenOrigin origin = parseTextCenter("100,190");
    EXPECT_EQ(origin.x, 100);
    EXPECT_EQ(origin.y, 190);
    PenOrigin truncated = parseTextCenter("12.7,-3");
    EXPECT_EQ(truncated.x, 12);
    EXPECT_EQ(truncated.y, 7);  // '.' is the separator byte, then "7,-3"
    PenOrigin huge = parseTextCenter("99999999999999999999,-99999999999999999999");
    EXPECT_EQ(huge.x, INT32_MAX);
    EXPECT_EQ(huge.y, INT32_MIN);
    EXPECT_EQ(parseTextCenter("").y, 0);
}

TEST(ConfigValuesTest, FontSizeInPointsBecomesTruncatedPixels) {
    EXPECT_EQ(fontPixelSize("12"), 18u);
    EXPECT_EQ(fontPixelSize("20"), 30u);
    EXPECT_EQ(fontPixelSize("50000"), 75259u);
    EXPECT_EQ(fontPixelSize("0.5"), 0u);
    EXPECT_EQ(fontPixelSize("0"), 0u);
    EXPECT_EQ(fontPixelSize("-12"), 0u);
    EXPECT_EQ(fontPixelSize("nan"), 0u);
    EXPECT_EQ(fontPixelSize("big"), 0u);
    EXPECT_EQ(fontPixelSize("1e30"), UINT32_MAX);
}

TEST(ConfigValuesTest, TextKeepsAtMost63BytesUpToAnyNul) {
    EXPECT_EQ(boundedText("%H:%M"), "%H:%M");
    EXPECT_EQ(boundedText(std::string(63, 'a')), std::string(63, 'a'));
    EXPECT_EQ(boundedText(std::string(64, 'b')), std::string(63, 'b'));
    EXPECT_EQ(boundedText(std::string("%H\0%M", 5)), "%H");
}

}  // namespace
