#include <gtest/gtest.h>

#include <algorithm>

#include "support/package_files.h"
#include "support/watch_package_fixture.h"
#include "watch/text_raster.h"
#include "watch/time_format.h"

namespace {

class TextRasterTest : public ::testing::Test {
protected:
    void SetUp() override {
        fontBytes = dejaVuSansBytes();
        ASSERT_EQ(FT_New_Memory_Face(testFontLibrary(),
                                     reinterpret_cast<const FT_Byte*>(fontBytes.data()),
                                     FT_Long(fontBytes.size()), 0, &face),
                  0);
        FT_Set_Pixel_Sizes(face, 40, 40);
        lineHeight = int(face->size->metrics.height / 64);
    }
    void TearDown() override { FT_Done_Face(face); }

    TextImage draw(const std::string& text, int x, int y) { return rasterizeText(face, text, {x, y}); }

    std::string fontBytes;
    FT_Face face = nullptr;
    int lineHeight = 0;
};

std::uint8_t at(const TextImage& image, int row, int column) {
    return image[size_t(row * textImageSide + column) * 4];
}

TextImage brighter(const TextImage& a, const TextImage& b) {
    TextImage both(a.size());
    std::transform(a.begin(), a.end(), b.begin(), both.begin(),
                   [](std::uint8_t x, std::uint8_t y) { return std::max(x, y); });
    return both;
}

bool isBlank(const TextImage& image) {
    return std::all_of(image.begin(), image.end(), [](std::uint8_t v) { return v == 0; });
}

TEST_F(TextRasterTest, EveryChannelHoldsTheCoverage) {
    const TextImage image = draw("M", 10, 60);
    EXPECT_FALSE(isBlank(image));
    for (size_t i = 0; i < image.size(); i += 4)
        EXPECT_TRUE(std::all_of(&image[i], &image[i + 4], [&](std::uint8_t v) { return v == image[i]; }));
}

TEST_F(TextRasterTest, FormattedTimeChangesWithTheMinute) {
    std::tm time{};
    time.tm_hour = 9;
    time.tm_min = 5;
    const TextImage nineOhFive = draw(formatTime("%H:%M", time), 20, 100);
    time.tm_sec = 30;
    EXPECT_EQ(draw(formatTime("%H:%M", time), 20, 100), nineOhFive);
    time.tm_min = 6;
    EXPECT_NE(draw(formatTime("%H:%M", time), 20, 100), nineOhFive);
}

TEST_F(TextRasterTest, BackslashPairsBreakLinesOrVanish) {
    EXPECT_EQ(draw("A\\nA", 10, 50), brighter(draw("A", 10, 50), draw("A", 10, 50 + lineHeight)));
    EXPECT_EQ(draw("A\\n\\nB", 10, 50),
              brighter(draw("A", 10, 50), draw("B", 10, 50 + 2 * lineHeight)));
    EXPECT_EQ(draw("A\\tB", 10, 50), draw("AB", 10, 50));
    EXPECT_EQ(draw("A\\", 10, 50), draw("A", 10, 50));
    EXPECT_TRUE(isBlank(draw("\\", 10, 50)));
}

TEST_F(TextRasterTest, GlyphsAreCutAtTheEdges) {
    const TextImage inside = draw("H", 100, 100);
    const TextImage corner = draw("H", 250, 5);  // off the top and the right
    bool anyInk = false;
    for (int row = 0; row < textImageSide; ++row)
        for (int column = 0; column < textImageSide; ++column) {
            const int sourceRow = row + 95, sourceColumn = column - 150;
            const std::uint8_t expected =
                sourceRow < textImageSide && sourceColumn >= 0 ? at(inside, sourceRow, sourceColumn) : 0;
            ASSERT_EQ(at(corner, row, column), expected) << row << "," << column;
            anyInk |= expected != 0;
        }
    EXPECT_TRUE(anyInk);
    EXPECT_TRUE(isBlank(draw("W", 300, 300)));
    EXPECT_TRUE(isBlank(draw("W", INT32_MAX, INT32_MIN)));
}

// Glyphs beside the image are never rendered, yet move the pen like any other.
TEST_F(TextRasterTest, GlyphsBesideTheImageStillMoveThePen) {
    FT_Load_Char(face, '1', FT_LOAD_RENDER);
    const int advance = int(face->glyph->advance.x / 64), width = int(face->glyph->bitmap.width);
    ASSERT_LT(width, advance);
    // Both ones end left of column 0; the H follows them.
    const TextImage h = draw("H", advance - width, 100);
    EXPECT_FALSE(isBlank(h));
    EXPECT_EQ(draw("11H", -advance - width, 100), h);
}

// A huge font size costs seconds and gigabytes per glyph; such glyphs are left
// out like glyphs FreeType cannot render, without moving the pen.
TEST_F(TextRasterTest, GlyphsPastTheSizeLimitAreSkipped) {
    FT_Set_Pixel_Sizes(face, 1600, 1600);
    FT_Load_Char(face, 'H', FT_LOAD_DEFAULT);
    ASSERT_GT(face->glyph->bitmap.rows, maxGlyphSide);
    FT_Load_Char(face, '.', FT_LOAD_DEFAULT);
    ASSERT_LE(face->glyph->bitmap.rows, maxGlyphSide);
    const TextImage dot = draw(".", 0, 200);
    EXPECT_FALSE(isBlank(dot));
    EXPECT_EQ(draw("H.H", 0, 200), dot);
}

TEST_F(TextRasterTest, BitmapStartsAtThePenWithoutTheBearing) {
    FT_Load_Char(face, 'o', FT_LOAD_RENDER);
    ASSERT_GT(face->glyph->bitmap_left, 0);
    const TextImage image = draw("o", 30, 80);
    int leftmost = textImageSide;
    for (int row = 0; row < textImageSide; ++row)
        for (int column = 0; column < textImageSide; ++column)
            if (at(image, row, column)) leftmost = std::min(leftmost, column);
    EXPECT_EQ(leftmost, 30);
}

// The later glyph's box replaces what lies below it, blank pixels included.
TEST_F(TextRasterTest, LaterGlyphReplacesTheOverlap) {
    bool erased = false;
    for (char first : std::string("fjyT/W")) {
        for (char second : std::string("oaj/V")) {
            FT_Load_Char(face, FT_ULong(first), FT_LOAD_RENDER);
            const int secondX = 40 + int(face->glyph->advance.x / 64);
            FT_Load_Char(face, FT_ULong(second), FT_LOAD_RENDER);
            const int top = 100 - face->glyph->bitmap_top;
            const int width = int(face->glyph->bitmap.width), rows = int(face->glyph->bitmap.rows);

            const TextImage firstAlone = draw(std::string(1, first), 40, 100);
            const TextImage secondAlone = draw(std::string(1, second), secondX, 100);
            const TextImage pair = draw(std::string{first, second}, 40, 100);
            for (int row = 0; row < textImageSide; ++row)
                for (int column = 0; column < textImageSide; ++column) {
                    const bool inSecond = row >= top && row < top + rows && column >= secondX &&
                                          column < secondX + width;
                    const TextImage& expected = inSecond ? secondAlone : firstAlone;
                    ASSERT_EQ(at(pair, row, column), at(expected, row, column))
                        << first << second << " at " << row << "," << column;
                    erased |= inSecond && at(firstAlone, row, column) && !at(pair, row, column);
                }
        }
    }
    EXPECT_TRUE(erased) << "no pair overlapped; the test proves nothing";
}

TEST_F(TextRasterTest, Utf8AndLatin1BytesDrawRealGlyphs) {
    const TextImage degreeUtf8 = draw("\xC2\xB0", 20, 100);
    const TextImage degreeLatin1 = draw("\xB0", 20, 100);
    const TextImage missingGlyph = draw("\xEF\xBF\xBF", 20, 100);  // U+FFFF, in no font
    EXPECT_FALSE(isBlank(degreeUtf8));
    EXPECT_EQ(degreeUtf8, degreeLatin1);
    EXPECT_NE(degreeUtf8, missingGlyph);
    EXPECT_EQ(draw("A\xC3\xBC" "B", 20, 100), draw("A\xFC" "B", 20, 100));
}

TEST(GlyphCoverageTest, OneBitStrikesBecomeFullCoverage) {
    unsigned char bits[] = {0xA0, 0x40, 0xFF, 0xC0};
    FT_Bitmap mono{};
    mono.rows = 2;
    mono.width = 10;
    mono.pitch = 2;
    mono.buffer = bits;
    mono.pixel_mode = FT_PIXEL_MODE_MONO;
    const std::vector<std::uint8_t> expected = {255, 0, 255, 0, 0, 0, 0, 0, 0, 255,
                                                255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
    EXPECT_EQ(glyphCoverage(mono), expected);

    unsigned char grey[] = {1, 2, 3, 99, 4, 5, 6, 99};
    FT_Bitmap padded{};
    padded.rows = 2;
    padded.width = 3;
    padded.pitch = 4;
    padded.buffer = grey;
    padded.pixel_mode = FT_PIXEL_MODE_GRAY;
    EXPECT_EQ(glyphCoverage(padded), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));

    padded.pixel_mode = FT_PIXEL_MODE_LCD;
    EXPECT_TRUE(glyphCoverage(padded).empty());
}

// What a damaged bitmap font can hand over: nothing of it is read.
TEST(GlyphCoverageTest, BitmapsWithoutPixelsOrWithShortRowsGiveNoCoverage) {
    unsigned char bytes[18] = {};
    for (unsigned char mode : {FT_PIXEL_MODE_GRAY, FT_PIXEL_MODE_MONO}) {
        FT_Bitmap bitmap{};
        bitmap.rows = 2;
        bitmap.width = 9;
        bitmap.pitch = 4;
        bitmap.pixel_mode = mode;
        EXPECT_TRUE(glyphCoverage(bitmap).empty()) << "no buffer, mode " << int(mode);
        bitmap.buffer = bytes;
        bitmap.pitch = mode == FT_PIXEL_MODE_GRAY ? 8 : 1;
        EXPECT_TRUE(glyphCoverage(bitmap).empty()) << "short rows, mode " << int(mode);
        bitmap.pitch = mode == FT_PIXEL_MODE_GRAY ? -9 : -2;
        EXPECT_EQ(glyphCoverage(bitmap).size(), 18u) << "whole rows, mode " << int(mode);
    }
}

}  // namespace
