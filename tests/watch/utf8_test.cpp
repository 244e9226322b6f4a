#include <gtest/gtest.h>

#include "watch/utf8.h"

namespace {

std::u32string codePoints(const std::string& text) {
    std::u32string decoded;
    for (size_t at = 0; at < text.size();) decoded += nextCodePoint(text, at);
    return decoded;
}

// Invalid bytes stand for their Latin-1 characters: a lone Latin-1 byte, a
// stray continuation byte, a truncated, overlong or surrogate sequence, and
// one beyond U+10FFFF.
TEST(Utf8Test, ValidSequencesOfEveryLengthAndInvalidBytesAsLatin1) {
    const std::pair<std::string, std::u32string> texts[] = {
        {"A\xC2\xB0\xE2\x82\xAC\xF0\x9F\x95\x90", U"A\u00B0\u20AC\U0001F550"},
        {"\xE9t\x80", U"\u00E9t\u0080"}, {"\xE2\x82", U"\u00E2\u0082"}, {"\xC0\x80", U"\u00C0\u0080"},
        {"\xED\xA0\x80", U"\u00ED\u00A0\u0080"}, {"\xF4\x90\x80\x80", U"\u00F4\u0090\u0080\u0080"},
        {"\xE0\x9F\xBF", U"\u00E0\u009F\u00BF"}};
    for (const auto& [text, decoded] : texts) EXPECT_EQ(codePoints(text), decoded);
}

}  // namespace
