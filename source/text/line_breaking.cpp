// Lines by Unicode's line breaking rules.
//
// libunibreak, not ICU: UAX #14 in a library of some tens of kilobytes,
// where ICU's break iterators need its data library of about 30 MB, more
// than the whole Linux package may weigh. What ICU would add beyond it
// (grapheme clusters) HarfBuzz's clusters give already; Thai, which breaks
// only by a dictionary, wraps at the line's width instead.
#include "text/line_breaking.h"

#include <linebreak.h>

#include "text/paragraph.h"

namespace {

bool isBlank(char32_t c) {
    return hb_unicode_general_category(hb_unicode_funcs_get_default(), c) ==
           HB_UNICODE_GENERAL_CATEGORY_SPACE_SEPARATOR;
}

bool isRegionalIndicator(char32_t c) { return c >= 0x1F1E6 && c <= 0x1F1FF; }

// Where UAX #14 allows a break after each character. libunibreak 1.1
// (Debian 12) aborts on the regional indicators that make flags: it is given
// an ideograph in their place, and no break is allowed within a pair of them
// (the rule LB30a). It also takes U+FFFF, a noncharacter that any text may
// hold, for its end of text and aborts: it is given U+FFFD instead.
std::vector<char> breakOpportunities(const std::u32string& text) {
    static const bool initialised = [] {
        init_linebreak();
        return true;
    }();
    (void)initialised;
    std::vector<utf32_t> characters(text.begin(), text.end());
    for (utf32_t& c : characters) {
        if (isRegionalIndicator(c)) c = 0x4E00;
        if (c == 0xFFFF) c = 0xFFFD;
    }
    std::vector<char> breaks(text.size());
    set_linebreaks_utf32(characters.data(), characters.size(), nullptr, breaks.data());
    bool pairStarts = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isRegionalIndicator(text[i])) {
            pairStarts = true;
            continue;
        }
        if (pairStarts && i + 1 < text.size() && isRegionalIndicator(text[i + 1])) breaks[i] = LINEBREAK_NOBREAK;
        pairStarts = !pairStarts;
    }
    return breaks;
}

// Where a line must end when no break is allowed before the character at
// 'overflow' overflows it: before that character's cluster, or after it when
// the cluster begins the line (a line holds at least one).
std::size_t clusterBreak(const Paragraph& paragraph, std::size_t start, std::size_t overflow) {
    std::size_t end = overflow;
    while (end > start && !paragraph.clusterStarts[end]) --end;
    if (end > start) return end;
    end = overflow + 1;
    while (end < paragraph.text.size() && !paragraph.clusterStarts[end]) ++end;
    return end;
}

}  // namespace

std::vector<LineSpan> breakLines(const Paragraph& paragraph, hb_position_t room, std::size_t maxLines) {
    const std::u32string& text = paragraph.text;
    if (text.empty()) return {LineSpan{}};
    const std::vector<char> breaks = breakOpportunities(text);
    std::vector<LineSpan> lines;
    for (std::size_t start = 0; start < text.size() && lines.size() < maxLines;) {
        std::size_t end = text.size(), lastBreak = start;
        hb_position_t width = 0;
        for (std::size_t i = start; i < text.size(); ++i) {
            width += paragraph.advances[i];
            if (width > room && !isBlank(text[i])) {
                end = lastBreak > start ? lastBreak : clusterBreak(paragraph, start, i);
                break;
            }
            if (breaks[i] == LINEBREAK_ALLOWBREAK) lastBreak = i + 1;
        }
        lines.push_back({start, end});
        start = end;
    }
    return lines;
}

std::size_t shownEnd(const Paragraph& paragraph, LineSpan line) {
    while (line.end > line.start && isBlank(paragraph.text[line.end - 1])) --line.end;
    return line.end;
}

hb_position_t widthOf(const Paragraph& paragraph, LineSpan line) {
    hb_position_t width = 0;
    const std::size_t end = shownEnd(paragraph, line);
    for (std::size_t i = line.start; i < end; ++i) width += paragraph.advances[i];
    return width;
}

LineSpan shortened(const Paragraph& paragraph, LineSpan line, hb_position_t room) {
    LineSpan fitting{line.start, line.start};
    hb_position_t width = 0, shown = 0;
    for (std::size_t i = line.start; i < line.end; ++i) {
        if (i > line.start && paragraph.clusterStarts[i] && shown <= room) fitting.end = i;
        width += paragraph.advances[i];
        if (!isBlank(paragraph.text[i])) shown = width;
    }
    if (shown <= room) fitting.end = line.end;
    return fitting;
}
