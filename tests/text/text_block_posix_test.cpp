// The text engine against HarfBuzz's own tool, and on a system without fonts.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <regex>

#include "support/child_process.h"
#include "text/text_fonts.h"

namespace {

// A bare system: fontconfig knows no font, the bundled ones serve all but
// emoji. In a process of its own, as fontconfig reads its configuration once.
TEST(TextBlockPosixTest, BundledFontsServeWhereTheSystemHasNone) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const TemporaryDirectory scratch;
    writeFile(scratch.path() + "/fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
    EXPECT_EXIT(
        {
            setenv("FONTCONFIG_FILE", (scratch.path() + "/fonts.conf").c_str(), 1);
            const std::string missing = missingGlyphs(*chainWith(), false);
            std::fputs(missing.c_str(), stderr);
            std::exit(missing.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "^$");
}

// HarfBuzz's own tool, given the same font, places the same glyphs.
TEST(TextBlockPosixTest, ShapesAsHarfBuzzItselfDoes) {
    const Sample samples[] = {{"NotoSansArabic-Regular.ttf", "صديقك متصل الآن"},
                              {"NotoSansDevanagari-Regular.ttf", "आपका मित्र ऑनलाइन है"},
                              {"NotoSansThai-Regular.ttf", "เพื่อนของคุณออนไลน์แล้ว"}};
    const ShapingBuffer shaping;
    for (const auto& [font, text] : samples) {
        const std::string path = runDirectory() + "/fonts/" + font;
        const TemporaryDirectory scratch;
        ChildProcess shaper("/usr/bin/hb-shape", {"--no-glyph-names", "--no-clusters", "--font-size=1536", path, text},
                            scratch.path());
        ASSERT_EQ(shaper.waitForExit(std::chrono::seconds(20)), 0) << shaper.standardError();
        std::string expected, shaped;
        const std::string output = shaper.standardOutput();
        const std::regex glyph(R"((\d+)(@(-?\d+),(-?\d+))?\+(-?\d+))");
        for (std::sregex_iterator match(output.begin(), output.end(), glyph), end; match != end; ++match)
            expected += (*match)[1].str() + "@" + ((*match)[3].matched ? (*match)[3].str() : "0") + "," +
                        ((*match)[4].matched ? (*match)[4].str() : "0") + "+" + (*match)[5].str() + " ";
        const FontChainPointer scriptFirst = chainWith(path);
        for (const TextRun& run : laidOut(*scriptFirst, text, shaping.buffer).runs)
            for (const ShapedGlyph& g : run.glyphs)
                shaped += std::to_string(g.id) + "@" + std::to_string(g.xOffset) + "," + std::to_string(g.yOffset) +
                          "+" + std::to_string(g.advance) + " ";
        EXPECT_EQ(shaped, expected) << font;
    }
}

}  // namespace
