// The one UTF-8 decoder: every stretch of bytes that is no UTF-8 is one
// character that is not there, as Unicode counts them.
#include <gtest/gtest.h>
#include <string>

#include "platform/text_encoding.h"

namespace {

TEST(Utf8Test, EachStretchThatIsNoUtf8IsOneReplacementCharacter) {
    const std::pair<std::string, std::u32string> texts[] = {
        {"A\xC2\xB0\xE2\x82\xAC\xF0\x9F\x95\x90", U"A\u00B0\u20AC\U0001F550"},
        // A lone Latin-1 byte and a stray continuation byte; truncated sequences.
        {"\xE9t\x80", U"\uFFFDt\uFFFD"}, {"\xE2\x82", U"\uFFFD"}, {"\xF0\x9F\x95x", U"\uFFFDx"},
        // Overlong forms, surrogates and values past U+10FFFF are invalid from their second byte.
        {"\xC0\x80", U"\uFFFD\uFFFD"}, {"\xE0\x9F\xBF", U"\uFFFD\uFFFD\uFFFD"},
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"}, {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
        // Unicode's own example of maximal subparts.
        {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64", U"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"}};
    for (const auto& [text, decoded] : texts) EXPECT_EQ(platform::decodeUtf8Text(text), decoded) << text;
    EXPECT_EQ(platform::wideFromUtf8("\xE2\x82\xAC"), std::wstring(L"\u20AC"));
    EXPECT_EQ(platform::wideFromUtf8("a\xE2\x82"), std::nullopt);
}

}  // namespace
