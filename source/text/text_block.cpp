// A text block: paragraphs broken into lines, cut to the lines allowed,
// each line put in visual order and drawn.
#include "text/text_block.h"

#include <algorithm>
#include <memory>

#include "text/font_chain.h"
#include "text/glyph_drawing.h"
#include "text/line_breaking.h"
#include "text/paragraph.h"

namespace {

// Senders' texts have at most 1000 characters: no more than this is looked at.
constexpr std::size_t maxInputBytes = 4096;
// Larger glyphs are no text of ours; the bound keeps sums of 26.6 advances
// within an int.
constexpr float maxPixelSize = 256;
constexpr char32_t ellipsis[] = U"\u2026";

bool isContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The bytes up to the limit, a character on the limit left out whole.
std::string_view limited(std::string_view utf8) {
    if (utf8.size() <= maxInputBytes) return utf8;
    std::size_t end = maxInputBytes;
    for (int back = 0; back < 3 && end > 0 && isContinuationByte(utf8[end]); ++back) --end;
    return utf8.substr(0, end);
}

// The characters, bytes that are no UTF-8 becoming U+FFFD (HarfBuzz's
// decoder), each line break (CR LF, CR, NEL, LS, PS) one line feed, a tab a
// blank; other controls are left out, and so are blanks and line feeds at
// the end, which would only take room.
std::u32string charactersOf(std::string_view utf8, hb_buffer_t* buffer) {
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf8(buffer, utf8.data(), static_cast<int>(utf8.size()), 0, static_cast<int>(utf8.size()));
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    std::u32string text;
    text.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        char32_t c = infos[i].codepoint;
        if (c == '\r' && i + 1 < count && infos[i + 1].codepoint == '\n') continue;
        if (c == '\r' || c == 0x85 || c == 0x2028 || c == 0x2029)
            c = '\n';
        else if (c == '\t')
            c = ' ';
        else if ((c < 0x20 && c != '\n') || (c >= 0x7F && c < 0xA0))
            continue;
        text += c;
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// A line of a paragraph, as much of it as shows.
struct PlacedLine {
    std::size_t paragraph = 0;
    LineSpan span;
};

// The lines of the text's paragraphs, at most maxLines; 'cut' when text is
// left over.
struct Placement {
    std::vector<Paragraph> paragraphs;
    std::vector<PlacedLine> lines;
    bool cut = false;
};

Placement place(FontChain& fonts, const std::u32string& text, hb_position_t room, std::size_t maxLines,
                hb_buffer_t* buffer) {
    Placement placement;
    for (std::size_t from = 0;;) {
        if (placement.lines.size() == maxLines) {
            placement.cut = true;
            break;
        }
        const std::size_t end = std::min(text.find('\n', from), text.size());
        placement.paragraphs.push_back(layOutParagraph(fonts, text.substr(from, end - from), buffer));
        const Paragraph& paragraph = placement.paragraphs.back();
        const std::vector<LineSpan> spans = breakLines(paragraph, room, maxLines - placement.lines.size());
        for (const LineSpan& span : spans) placement.lines.push_back({placement.paragraphs.size() - 1, span});
        if (spans.back().end < paragraph.text.size()) {
            placement.cut = true;
            break;
        }
        if (end == text.size()) break;
        from = end + 1;
    }
    return placement;
}

// Glyphs of one run, or the ellipsis, that lie side by side on a line.
struct Piece {
    const Face* face = nullptr;
    const ShapedGlyph* begin = nullptr;
    const ShapedGlyph* end = nullptr;
    FriBidiLevel level = 0;
};

// The line's pieces in logical order: each run's glyphs of the line's
// characters (a run's glyphs for a span of characters lie together).
std::vector<Piece> piecesOf(const FontChain& fonts, const Paragraph& paragraph, LineSpan span) {
    std::vector<Piece> pieces;
    auto inLine = [&](const ShapedGlyph& glyph) { return glyph.cluster >= span.start && glyph.cluster < span.end; };
    for (const TextRun& run : paragraph.runs) {
        if (run.end <= span.start || run.start >= span.end) continue;
        const auto first = std::find_if(run.glyphs.begin(), run.glyphs.end(), inLine);
        const auto last = std::find_if_not(first, run.glyphs.end(), inLine);
        if (first != last)
            pieces.push_back({fonts.faces[run.face].get(), &*first, &*first + (last - first), run.level});
    }
    return pieces;
}

// Unicode's rule L2: from the highest level down to the lowest odd one, each
// sequence of pieces at that level or above is reversed.
void toVisualOrder(std::vector<Piece>& pieces) {
    if (pieces.empty()) return;
    auto byLevel = [](const Piece& one, const Piece& other) { return one.level < other.level; };
    const int highest = std::max_element(pieces.begin(), pieces.end(), byLevel)->level;
    const int lowest = std::min_element(pieces.begin(), pieces.end(), byLevel)->level;
    for (int level = highest; level >= (lowest | 1); --level) {
        for (auto piece = pieces.begin(); piece != pieces.end();) {
            if (piece->level < level) {
                ++piece;
                continue;
            }
            const auto stop = std::find_if(piece, pieces.end(), [level](const Piece& p) { return p.level < level; });
            std::reverse(piece, stop);
            piece = stop;
        }
    }
}

hb_position_t advanceOf(const std::vector<Piece>& pieces) {
    hb_position_t width = 0;
    for (const Piece& piece : pieces)
        for (const ShapedGlyph* glyph = piece.begin; glyph != piece.end; ++glyph) width += glyph->advance;
    return width;
}

}  // namespace

TextBlock renderTextBlock(FontChain& fonts, std::string_view utf8, const TextBlockStyle& style) {
    TextBlock block;
    if (style.maxWidth <= 0 || !(style.pixelSize > 0)) return block;
    const std::unique_ptr<hb_buffer_t, decltype(&hb_buffer_destroy)> buffer(hb_buffer_create(), hb_buffer_destroy);
    const std::string_view looked = limited(utf8);
    const std::u32string text = charactersOf(looked, buffer.get());
    if (text.empty()) return block;
    fonts.setPixelSize(std::min(style.pixelSize, maxPixelSize));
    fonts.beginText();
    const hb_position_t room = static_cast<hb_position_t>(style.maxWidth) * 64;
    Placement placement =
        place(fonts, text, room, static_cast<std::size_t>(std::max(1, style.maxLines)), buffer.get());
    placement.cut = placement.cut || looked.size() < utf8.size();

    // The last line of a cut text gives way to the ellipsis, in its paragraph's direction.
    std::vector<ShapedGlyph> ellipsisGlyphs;
    const Face* ellipsisFace = nullptr;
    const bool lastRightToLeft = placement.paragraphs[placement.lines.back().paragraph].rightToLeft;
    if (placement.cut) {
        ellipsisFace = fonts.faces[fonts.faceFor(ellipsis)].get();
        ellipsisGlyphs = shape(*ellipsisFace, ellipsis, 0, 1, HB_SCRIPT_COMMON, lastRightToLeft, buffer.get());
        hb_position_t width = 0;
        for (const ShapedGlyph& glyph : ellipsisGlyphs) width += glyph.advance;
        PlacedLine& last = placement.lines.back();
        last.span = shortened(placement.paragraphs[last.paragraph], last.span, room - width);
    }

    // Lines as drawn, and the height they need: the tallest outline font's,
    // colour bitmaps being scaled to the primary's.
    std::vector<std::vector<Piece>> lines;
    int ascent = ascentOf(*fonts.faces.front()), descent = descentOf(*fonts.faces.front());
    hb_position_t widest = 0;
    bool rightToLeft = false;
    for (const PlacedLine& line : placement.lines) {
        const Paragraph& paragraph = placement.paragraphs[line.paragraph];
        std::vector<Piece> pieces = piecesOf(fonts, paragraph, {line.span.start, shownEnd(paragraph, line.span)});
        if (ellipsisFace && &line == &placement.lines.back())
            pieces.push_back({ellipsisFace, ellipsisGlyphs.data(), ellipsisGlyphs.data() + ellipsisGlyphs.size(),
                              static_cast<FriBidiLevel>(lastRightToLeft)});
        for (const Piece& piece : pieces) {
            if (piece.face->fixedBitmaps) continue;
            ascent = std::max(ascent, ascentOf(*piece.face));
            descent = std::max(descent, descentOf(*piece.face));
        }
        toVisualOrder(pieces);
        widest = std::max(widest, advanceOf(pieces));
        rightToLeft = rightToLeft || paragraph.rightToLeft;
        lines.push_back(std::move(pieces));
    }

    // Right-to-left paragraphs end at the right edge of the widest line allowed.
    block.width = rightToLeft ? style.maxWidth : std::min(style.maxWidth, (widest + 63) / 64);
    if (block.width == 0) return block;
    const int lineHeight = ascent + descent;
    block.lines = static_cast<int>(lines.size());
    block.height = lineHeight * block.lines;
    block.cut = placement.cut;
    GlyphCanvas canvas(block.width, block.height, style.red, style.green, style.blue, fonts.renderedGlyphs);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const hb_position_t baseline = static_cast<hb_position_t>((static_cast<int>(i) * lineHeight + ascent) * 64);
        hb_position_t pen = 0;
        if (placement.paragraphs[placement.lines[i].paragraph].rightToLeft)
            pen = block.width * 64 - advanceOf(lines[i]);
        for (const Piece& piece : lines[i]) {
            for (const ShapedGlyph* glyph = piece.begin; glyph != piece.end; ++glyph) {
                canvas.draw(*piece.face, glyph->id, pen + glyph->xOffset, baseline - glyph->yOffset);
                pen += glyph->advance;
            }
        }
    }
    block.rgba = canvas.takeStraightRgba();
    return block;
}
