#pragma once

#include <cstddef>
#include <vector>

#include <hb.h>

struct Paragraph;

// A line's characters in its paragraph's text: [start, end).
struct LineSpan {
    std::size_t start = 0, end = 0;
};

// The paragraph's first lines, at most maxLines, each as full as fits in
// 'room' (26.6 pixels) where Unicode's line breaking (UAX #14) allows a
// break: after a blank, between ideographs. A word longer than a line is
// broken at a glyph cluster boundary. An empty paragraph is one empty line.
std::vector<LineSpan> breakLines(const Paragraph& paragraph, hb_position_t room, std::size_t maxLines);

// Past the line's last character that shows: blanks at a line's end take no
// room and are not drawn.
std::size_t shownEnd(const Paragraph& paragraph, LineSpan line);

// The width of the line's characters up to its shown end.
hb_position_t widthOf(const Paragraph& paragraph, LineSpan line);

// The line shortened at its end, on a cluster boundary, until it fits in
// 'room'; empty when not even its first cluster fits.
LineSpan shortened(const Paragraph& paragraph, LineSpan line, hb_position_t room);
