#include <gtest/gtest.h>

#include <vector>

#include "watch/utf8.h"

namespace {

std::vector<char32_t> codePoints(const std::string& text) {
    std::vector<char32_t> decoded;
    for (size_t at = 0; at < text.size();) decoded.push_back(nextCodePoint(text, at));
    return decoded;
}

TEST(Utf8Test, ValidSequencesOfEveryLength) {
    EXPECT_EQ(codePoints("A\xC2\xB0\xE2\x82\xAC\xF0\x9F\x95\x90"),
              (std::vector<char32_t>{'A', 0xB0, 0x20AC, 0x1F550}));
}

TEST(Utf8Test, InvalidBytesStandForTheirLatin1Characters) {
    // A lone Latin-1 byte, a stray continuation byte, a truncated sequence.
    EXPECT_EQ(codePoints("\xE9t\x80"), (std::vector<char32_t>{0xE9, 't', 0x80}));
    EXPECT_EQ(codePoints("\xE2\x82"), (std::vector<char32_t>{0xE2, 0x82}));
    // Overlong, surrogate and beyond U+10FFFF.
    EXPECT_EQ(codePoints("\xC0\x80"), (std::vector<char32_t>{0xC0, 0x80}));
    EXPECT_EQ(codePoints("\xED\xA0\x80"), (std::vector<char32_t>{0xED, 0xA0, 0x80}));
    EXPECT_EQ(codePoints("\xF4\x90\x80\x80"), (std::vector<char32_t>{0xF4, 0x90, 0x80, 0x80}));
    EXPECT_EQ(codePoints("\xE0\x9F\xBF"), (std::vector<char32_t>{0xE0, 0x9F, 0xBF}));
}

}  // namespace
