// Texts: what they show (the time, the time of a zone, a battery's charge),
// their UTF-8, and their glyphs' coverage.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "support/test_files.h"
#include "support/watch_package_fixture.h"
#include "text/text_fonts.h"
#include "watch/battery_text.h"
#include "watch/text_raster.h"
#include "watch/time_format.h"
#include "watch/time_zone.h"

namespace {

// Standard conversions in the C locale; unknown ones are written unchanged.
TEST(TimeFormatTest, ConversionsOfCsStrftimeAndNoOthers) {
    std::tm morning{};
    morning.tm_year = 121, morning.tm_mon = 0, morning.tm_mday = 15, morning.tm_wday = 5;
    morning.tm_hour = 9, morning.tm_min = 5, morning.tm_sec = 3;
    const std::pair<std::string, std::string> formats[] = {
        {"%H:%M:%S", "09:05:03"}, {"%d.%m.%Y %a %b", "15.01.2021 Fri Jan"}, {"100%% %Y", "100% 2021"},
        {"Line1\\nLine2", "Line1\\nLine2"}, {"", ""}, {"%Q", "%Q"}, {"%H%", "09%"}, {"%Ek %Oq %E", "%Ek %Oq %E"},
        {"%k%s", "%k%s"}};
    for (const auto& [format, text] : formats) EXPECT_EQ(formatTime(format, morning), text) << format;
}

// Instants in seconds since 1970 UTC, around the changes of 2026.
TEST(TimeZoneTest, ClocksOfAZoneFollowItsDaylightSavingChanges) {
    const std::tuple<const char*, std::time_t, const char*> cases[] = {
        {"Europe/Berlin", 1774745999, "Sun 088 01:59:59 CET +0100"},
        {"Europe/Berlin", 1774746000, "Sun 088 03:00:00 CEST +0200"},
        {"Europe/Berlin", 1792890000, "Sun 298 02:00:00 CET +0100"},
        {"America/New_York", 1772953199, "Sun 067 01:59:59 EST -0500"},
        {"America/New_York", 1772953200, "Sun 067 03:00:00 EDT -0400"},
        {"Asia/Kolkata", 1767225600, "Thu 001 05:30:00 IST +0530"}};
    for (const auto& [name, instant, shown] : cases) {
        const TimeZone* zone = findTimeZone(name);
        ASSERT_TRUE(zone) << name;
        const ZonedTime zoned = timeInZone(*zone, instant);
        EXPECT_EQ(formatTimeInZone("%a %j %H:%M:%S %Z %z", zoned.time, zoned.abbreviation, zoned.utcOffsetSeconds),
                  shown);
    }
    for (const char* unknown : {"Mars/Olympus_Mons", "", "../../../etc/passwd", "europe/berlin"})
        EXPECT_FALSE(findTimeZone(unknown)) << unknown;
}

// A charge in whole percent within 0 to 100 whatever the runtime says. What
// devices without a battery show, and charges past full, are the renderer's
// test (GaugeAndTextShowTheChargeAndNothingWithoutOne).
TEST(BatteryTextTest, ShowsTheChargeInWholePercent) {
    const std::tuple<BatteryStatus, const char*, const char*, const char*> cases[] = {
        {{true, true, 0.996f, true}, "%c %+|%x%", " CHG", "100  CHG|%x%"},
        {{true, true, -0.2f, false}, "%c", "+", "0"}, {{true, true, NAN, false}, "%c", "+", "0"}};
    for (const auto& [battery, format, mark, shown] : cases) EXPECT_EQ(formatBattery(format, battery, mark), shown);
}

std::uint8_t at(const TextImage& image, int row, int column) { return image[size_t(row * textImageSide + column) * 4]; }

bool isBlank(const TextImage& image) {
    return std::all_of(image.begin(), image.end(), [](std::uint8_t v) { return v == 0; });
}

class TextRasterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(FT_New_Memory_Face(testFontLibrary(), reinterpret_cast<const FT_Byte*>(fontBytes.data()),
                                     FT_Long(fontBytes.size()), 0, &face),
                  0);
        FT_Set_Pixel_Sizes(face, 40, 40);
    }
    void TearDown() override { FT_Done_Face(face); }

    TextImage draw(const std::string& text, int x, int y) { return rasterizeText(face, text, {x, y}); }
    // The glyph's advance, bitmap width and top, as FreeType renders it.
    std::tuple<int, int, int> glyph(char c) {
        FT_Load_Char(face, FT_ULong(c), FT_LOAD_RENDER);
        return {int(face->glyph->advance.x / 64), int(face->glyph->bitmap.width), face->glyph->bitmap_top};
    }

    const std::string fontBytes = dejaVuSansBytes();
    FT_Face face = nullptr;
};

TEST_F(TextRasterTest, BackslashPairsBreakLinesOrVanish) {
    const int lineHeight = int(face->size->metrics.height / 64);
    auto brighter = [](TextImage a, const TextImage& b) {
        std::transform(a.begin(), a.end(), b.begin(), a.begin(), [](auto x, auto y) { return std::max(x, y); });
        return a;
    };
    EXPECT_EQ(draw("A\\nA", 10, 50), brighter(draw("A", 10, 50), draw("A", 10, 50 + lineHeight)));
    EXPECT_EQ(draw("A\\n\\nB", 10, 50), brighter(draw("A", 10, 50), draw("B", 10, 50 + 2 * lineHeight)));
    EXPECT_EQ(draw("A\\tB", 10, 50), draw("AB", 10, 50));
    EXPECT_EQ(draw("A\\", 10, 50), draw("A", 10, 50));
}

// Glyphs are cut at the edges; those wholly beside the image are never
// rendered, yet move the pen like any other.
TEST_F(TextRasterTest, GlyphsAreCutAtTheEdgesAndThoseBesideStillMoveThePen) {
    const TextImage inside = draw("H", 100, 100), corner = draw("H", 250, 5);  // off the top and the right
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
    // The inked box is the glyph's bitmap, cut like it.
    const auto [hAdvance, hWidth, hTop] = glyph('H');
    const int hRows = int(face->glyph->bitmap.rows);
    const auto box = [](const PixelBox& b) { return std::make_tuple(b.left, b.top, b.right, b.bottom); };
    EXPECT_EQ(box(inkedBox(inside)), std::make_tuple(100, 100 - hTop, 100 + hWidth, 100 - hTop + hRows));
    const PixelBox cut = inkedBox(corner);  // the stems' feet: the crossbar lies above the image
    EXPECT_EQ(std::make_tuple(cut.left, cut.top, cut.bottom), std::make_tuple(250, 0, 5 - hTop + hRows));
    EXPECT_LE(cut.right, 256);
    EXPECT_TRUE(inkedBox(draw("", 0, 0)).empty());
    EXPECT_TRUE(isBlank(draw("W", 300, 300)));
    EXPECT_TRUE(isBlank(draw("W", INT32_MAX, INT32_MIN)));
    const auto [advance, width, top] = glyph('1');
    ASSERT_LT(width, advance);
    const TextImage h = draw("H", advance - width, 100);  // both ones end left of column 0
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

// Each stretch of bytes that is no UTF-8 draws as one U+FFFD.
TEST_F(TextRasterTest, Utf8DrawsRealGlyphsAndWhatIsNoUtf8TheReplacementCharacter) {
    const TextImage degree = draw("\xC2\xB0", 20, 100);
    EXPECT_FALSE(isBlank(degree));
    EXPECT_NE(degree, draw("\xEF\xBF\xBF", 20, 100));  // U+FFFF, in no font
    const TextImage replaced = draw("A\xEF\xBF\xBD" "B", 20, 100);
    EXPECT_NE(replaced, draw("A\xC3\xBC" "B", 20, 100));
    for (const char* broken : {"A\xFC" "B", "A\xE2\x82" "B"}) EXPECT_EQ(draw(broken, 20, 100), replaced) << broken;
}

// What the package font lacks comes from the fallback fonts instead of its
// missing-glyph box; what it has stays its own.
TEST_F(TextRasterTest, CharactersTheFontLacksComeFromTheFallbackFonts) {
    const FontChainPointer fallback = chainWith();
    const auto drawn = [&](const std::string& text) { return rasterizeText(face, text, {20, 100}, fallback.get()); };
    EXPECT_NE(drawn("\u6771"), draw("\u6771", 20, 100));
    EXPECT_FALSE(isBlank(drawn("\u6771")));
    EXPECT_NE(drawn("\u6771"), drawn("\u4EAC"));
    EXPECT_EQ(drawn("Ab\xC2\xB0"), draw("Ab\xC2\xB0", 20, 100));
}

FT_Bitmap bitmap(unsigned rows, unsigned width, int pitch, unsigned char mode, unsigned char* buffer) {
    FT_Bitmap made{};
    made.rows = rows, made.width = width, made.pitch = pitch, made.pixel_mode = mode, made.buffer = buffer;
    return made;
}

// One-bit strikes become full coverage, grey rows lose their padding, other
// modes give none; what a damaged bitmap font can hand over (no pixels, rows
// shorter than the width) is never read.
TEST(GlyphCoverageTest, MonoAndGreyBitmapsGiveCoverageOthersNone) {
    using Coverage = std::vector<std::uint8_t>;
    unsigned char bits[] = {0xA0, 0x40, 0xFF, 0xC0}, grey[] = {1, 2, 3, 99, 4, 5, 6, 99}, bytes[18] = {};
    EXPECT_EQ(glyphCoverage(bitmap(2, 10, 2, FT_PIXEL_MODE_MONO, bits)),
              (Coverage{255, 0, 255, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255}));
    EXPECT_EQ(glyphCoverage(bitmap(2, 3, 4, FT_PIXEL_MODE_GRAY, grey)), (Coverage{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(glyphCoverage(bitmap(2, 3, 4, FT_PIXEL_MODE_LCD, grey)), Coverage{});
    for (const auto& [mode, shortPitch, wholePitch] :
         {std::tuple{FT_PIXEL_MODE_GRAY, 8, -9}, std::tuple{FT_PIXEL_MODE_MONO, 1, -2}}) {
        EXPECT_EQ(glyphCoverage(bitmap(2, 9, 4, mode, nullptr)), Coverage{}) << "no buffer, mode " << mode;
        EXPECT_EQ(glyphCoverage(bitmap(2, 9, shortPitch, mode, bytes)), Coverage{}) << "short rows " << mode;
        EXPECT_EQ(glyphCoverage(bitmap(2, 9, wholePitch, mode, bytes)).size(), 18u) << "whole rows " << mode;
    }
}

}  // namespace
