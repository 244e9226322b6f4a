#include <gtest/gtest.h>
#include <tuple>

#include "watch/config_values.h"

namespace {

TEST(ConfigValuesTest, BindIsAnUpperCasedPrefixAndMovementContinuousOnlyAsTheWholeWord) {
    const std::pair<const char*, HandBinding> bindings[] = {
        {"HOUR", HandBinding::Hour},     {"Hours", HandBinding::Hour},       {"hour_hand", HandBinding::Hour},
        {"minute", HandBinding::Minute}, {"Seconds", HandBinding::Second},   {" HOUR", HandBinding::None},
        {"HOU", HandBinding::None},      {"", HandBinding::None},            {"\xC3\xA9HOUR", HandBinding::None}};
    for (const auto& [text, binding] : bindings) EXPECT_EQ(parseHandBinding(text), binding) << text;
    EXPECT_TRUE(parseMovement("continuous"));
    EXPECT_TRUE(parseMovement("CONTINUOUS"));
    for (const char* other : {"CONTINUOUS ", "continuously", "smooth", ""}) EXPECT_FALSE(parseMovement(other)) << other;
}

// Any single byte separates the two numbers; a second one stops the second.
TEST(ConfigValuesTest, CentresOfHandsAreFloatsAndOfTextsSaturatingIntegers) {
    const std::tuple<const char*, float, float> hands[] = {
        {"64,200", 64, 200}, {"64 200", 64, 200}, {" 64, 200", 64, 200}, {"64;200", 64, 200},
        {"-1.5e1x200.5", -15, 200.5f}, {"128", 128, 0}, {"1,,2", 1, 0}};
    for (const auto& [text, x, y] : hands) {
        const CanvasPoint point = parseHandCenter(text);
        EXPECT_EQ(std::make_pair(point.x, point.y), std::make_pair(x, y)) << text;
    }
    // "12.7,-3": '.' is the separator byte, then "7,-3".
    const std::tuple<const char*, std::int32_t, std::int32_t> texts[] = {
        {"100,190", 100, 190}, {"12.7,-3", 12, 7}, {"", 0, 0},
        {"99999999999999999999,-99999999999999999999", INT32_MAX, INT32_MIN}};
    for (const auto& [text, x, y] : texts) {
        const PenOrigin origin = parseTextCenter(text);
        EXPECT_EQ(std::make_pair(origin.x, origin.y), std::make_pair(x, y)) << text;
    }
}

TEST(ConfigValuesTest, FontSizeInPointsBecomesTruncatedPixelsAndTextsKeep63BytesUpToANul) {
    const std::pair<const char*, std::uint32_t> sizes[] = {
        {"12", 18}, {"20", 30}, {"50000", 75259}, {"0.5", 0}, {"0", 0}, {"-12", 0}, {"nan", 0}, {"big", 0},
        {"1e30", UINT32_MAX}};
    for (const auto& [points, pixels] : sizes) EXPECT_EQ(fontPixelSize(points), pixels) << points;
    EXPECT_EQ(boundedText("%H:%M"), "%H:%M");
    EXPECT_EQ(boundedText(std::string(63, 'a')), std::string(63, 'a'));
    EXPECT_EQ(boundedText(std::string(64, 'b')), std::string(63, 'b'));
    EXPECT_EQ(boundedText(std::string("%H\0%M", 5)), "%H");
}

}  // namespace
