// The text engine on a system without fonts.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

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

}  // namespace
