// Text from outside in every script: fonts, shaping, direction, lines, cuts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "text/line_breaking.h"
#include "text/text_fonts.h"

namespace {

// The first and last columns with ink in the rows [top, bottom); -1 for none.
std::pair<int, int> inkedColumns(const TextBlock& block, int top, int bottom) {
    std::pair<int, int> columns{-1, -1};
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < block.width; ++x)
            if (block.rgba[(std::size_t(y) * block.width + x) * 4 + 3] != 0) {
                if (columns.first < 0 || x < columns.first) columns.first = x;
                columns.second = std::max(columns.second, x);
            }
    return columns;
}

// Where the inked part of 'part' lies in the block's rows [top, bottom),
// alpha for alpha: its left column, or -1.
int findInk(const TextBlock& block, const TextBlock& part, int top, int bottom) {
    const auto [left, right] = inkedColumns(part, 0, part.height);
    const int width = right - left + 1;
    auto alpha = [](const TextBlock& image, int x, int y) { return image.rgba[(std::size_t(y) * image.width + x) * 4 + 3]; };
    for (int y = top; y + part.height <= bottom; ++y)
        for (int x = 0; x + width <= block.width; ++x) {
            bool same = true;
            for (int row = 0; same && row < part.height; ++row)
                for (int column = 0; same && column < width; ++column)
                    same = alpha(block, x + column, y + row) == alpha(part, left + column, row);
            if (same) return x;
        }
    return -1;
}

class TextBlockTest : public ::testing::Test {
protected:
    TextBlock render(const std::string& text, int maxWidth = 400, int maxLines = 1) {
        TextBlockStyle style;
        style.pixelSize = 24;
        style.maxWidth = maxWidth;
        style.maxLines = maxLines;
        return renderTextBlock(*chain, text, style);
    }
    FontChainPointer chain = chainWith();
};

TEST_F(TextBlockTest, EveryScriptDrawsGlyphsOfItsOwn) {
    const bool emoji = systemHasEmojiFont();
    EXPECT_EQ(missingGlyphs(*chain, emoji), "");
    std::set<std::vector<std::uint8_t>> images;
    for (const Sample& sample : everyScript) {
        if (!emoji && sample.isEmoji()) continue;
        const TextBlock block = render(sample.text);
        EXPECT_GT(block.width, 0) << sample.script;
        images.insert(block.rgba);
    }
    EXPECT_EQ(images.size(), std::size(everyScript) - (emoji ? 0 : 1));
}

// Glyphs once drawn are kept for the next texts, which draw as they would
// with none kept, whatever size came before.
TEST_F(TextBlockTest, KeptGlyphsDrawAsNewOnes) {
    TextBlockStyle style;
    std::vector<std::vector<std::uint8_t>> drawn;
    for (const float size : {24.0f, 12.0f, 24.0f}) {
        style.pixelSize = size;
        drawn.push_back(renderTextBlock(*chain, "Друг Hello", style).rgba);
    }
    EXPECT_EQ(drawn[0], drawn[2]);
    style.pixelSize = 12;
    EXPECT_EQ(drawn[1], renderTextBlock(*chainWith(), "Друг Hello", style).rgba);
}

TEST_F(TextBlockTest, ArabicLettersJoinUnlessKeptApart) {
    std::string joined = "ب", apart = "ب";
    for (int i = 0; i < 4; ++i) {
        joined += "\u200Dب";
        apart += "\u200Cب";
    }
    EXPECT_NE(render(joined).rgba, render(apart).rgba);
}

TEST_F(TextBlockTest, RightToLeftTextRunsFromTheRight) {
    // Each text draws as the same letters forced into visual order would.
    const std::pair<const char*, const char*> orders[] = {
        {"A אבג", "A \u202Dגבא\u202C"},
        {"A אבג 12 דהו", "A \u202Dוהד 12 גבא\u202C"},
        {"אבג abc", "\u200F\u202Dabc גבא\u202C"},
    };
    for (const auto& [logical, visual] : orders) EXPECT_EQ(render(logical).rgba, render(visual).rgba) << logical;
    // A right-to-left paragraph ends at the right edge of the widest line allowed.
    const TextBlock hebrew = render("החבר שלך מחובר");
    const auto [left, right] = inkedColumns(hebrew, 0, hebrew.height);
    EXPECT_EQ(hebrew.width, 400);
    EXPECT_TRUE(left > 200 && right >= 390) << left << ", " << right;
}

TEST_F(TextBlockTest, TextTakesTheStylesColourAndEmojiKeepTheirOwn) {
    TextBlockStyle style;
    style.red = 10, style.green = 200, style.blue = 30;
    const TextBlock text = renderTextBlock(*chain, "Друг 你好 مرحبا", style);
    std::set<std::vector<int>> colours;
    for (std::size_t i = 0; i < text.rgba.size(); i += 4)
        if (text.rgba[i + 3] == 255) colours.insert({text.rgba[i], text.rgba[i + 1], text.rgba[i + 2]});
    EXPECT_EQ(colours, (std::set<std::vector<int>>{{10, 200, 30}}));

    if (!systemHasEmojiFont()) GTEST_SKIP() << "this system has no emoji font (Wine has none)";
    for (const char* emoji : {"😀", "👍🏽", "🇯🇵", "❤️"}) {
        const TextBlock block = render(emoji);
        bool coloured = false;
        for (std::size_t i = 0; i < block.rgba.size(); i += 4)
            coloured = coloured || (block.rgba[i + 3] > 128 && std::abs(block.rgba[i] - block.rgba[i + 1]) > 24);
        EXPECT_TRUE(coloured) << emoji;
    }
    // Letters keep the style's colour at their soft edges too when an emoji follows them.
    const TextBlock mixed = renderTextBlock(*chain, "Друг 😀", style);
    const int letters = renderTextBlock(*chain, "Друг", style).width;
    int edges = 0;
    for (int y = 0; y < mixed.height; ++y)
        for (int x = 0; x < letters; ++x) {
            const std::uint8_t* pixel = &mixed.rgba[(std::size_t(y) * mixed.width + x) * 4];
            // Fainter ones lose their colour to the 8 bits of premultiplied alpha.
            if (pixel[3] < 64 || pixel[3] == 255) continue;
            ++edges;
            EXPECT_LE(std::abs(pixel[0] - 10) + std::abs(pixel[1] - 200) + std::abs(pixel[2] - 30), 12)
                << "at " << x << "," << y << " alpha " << int(pixel[3]);
        }
    EXPECT_GT(edges, 10);
}

// Lines end where Unicode allows: after blanks, between ideographs but not
// before a full stop; a word longer than the line at a cluster's edge, never
// before a mark.
TEST_F(TextBlockTest, LinesBreakWhereUnicodeAllows) {
    const struct {
        const char* text;
        std::size_t roomInCharacters;  // the room: what that many first characters take
        std::size_t firstLineEnd;      // 0 when left to the font
        std::u32string neverFirst;
    } samples[] = {
        {"Hello wonderful world", 15, 16, U""},
        {"ゲームをプレーしましょう。", 3, 3, U"。"},
        {"Supercalifragilisticexpialidocious", 10, 10, U""},
        // U+FFFF is a character like any other here, not the end of the text.
        {"Noncharacter \xEF\xBF\xBF inside", 15, 0, U""},
        {"เพื่อนของคุณออนไลน์แล้ว", 6, 0, U"\u0E37\u0E48\u0E38\u0E4C\u0E49"},
    };
    const ShapingBuffer shaping;
    for (const auto& sample : samples) {
        const Paragraph paragraph = laidOut(*chain, sample.text, shaping.buffer);
        const hb_position_t room = widthOf(paragraph, {0, sample.roomInCharacters});
        const std::vector<LineSpan> lines = breakLines(paragraph, room, 100);
        ASSERT_GT(lines.size(), 1u) << sample.text;
        EXPECT_TRUE(!sample.firstLineEnd || lines.front().end == sample.firstLineEnd) << sample.text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].start, i == 0 ? 0 : lines[i - 1].end) << sample.text;
            EXPECT_LT(lines[i].start, lines[i].end) << sample.text;
            EXPECT_LE(widthOf(paragraph, lines[i]), room) << sample.text;
            EXPECT_EQ(sample.neverFirst.find(paragraph.text[lines[i].start]), std::u32string::npos) << sample.text;
        }
        EXPECT_EQ(lines.back().end, paragraph.text.size()) << sample.text;
    }
}

TEST_F(TextBlockTest, LineFeedsKeepTheirLines) {
    const std::pair<const char*, int> samples[] = {
        {"one\ntwo\nthree", 3}, {"one\r\ntwo", 2}, {"one\n\nthree", 3}, {"one\n\n", 1}, {"one\ntwo\nthree\nfour", 3}};
    for (const auto& [text, lines] : samples) {
        const TextBlock block = render(text, 400, 3);
        EXPECT_EQ(block.lines, lines) << text;
        EXPECT_EQ(block.cut, std::string(text) == "one\ntwo\nthree\nfour") << text;
    }
}

TEST_F(TextBlockTest, TextBeyondTheLastLineIsCutWithAnEllipsis) {
    const TextBlock ellipsis = render("…");
    for (const char* text : {"one two three four five six seven eight nine ten eleven twelve",
                             "אחת שתיים שלוש ארבע חמש שש שבע שמונה תשע עשר",
                             "フレンドがオンラインになりましたフレンドがオンラインになりました"}) {
        const TextBlock block = render(text, 200, 2);
        EXPECT_TRUE(block.cut) << text;
        ASSERT_EQ(block.lines, 2) << text;
        EXPECT_LE(block.width, 200) << text;
        const int at = findInk(block, ellipsis, block.height / 2, block.height);
        const bool rightToLeft = std::string(text).find("א") == 0;
        EXPECT_GE(at, 0) << text;
        EXPECT_EQ(at < block.width / 2, rightToLeft) << text;
    }
}

}  // namespace
