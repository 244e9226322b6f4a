#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "watch/watch.h"

struct FontChain;

constexpr int textImageSide = 256;

// Glyphs wider or taller than this are left out like glyphs FreeType cannot
// render: no canvas shows more than a corner of them, and a huge font size
// would otherwise cost seconds and gigabytes on every redraw.
constexpr unsigned maxGlyphSide = 1024;

// RGBA rows from the top of the canvas down; every channel holds the glyph
// coverage, so the text shows white.
using TextImage = std::vector<std::uint8_t>;

// The glyph's coverage, one byte a pixel, rows top down: 8-bit coverage as it
// is, 1-bit strikes of bitmap fonts as 0 or 255, nothing for other modes and
// for bitmaps without pixels or with rows shorter than their width.
std::vector<std::uint8_t> glyphCoverage(const FT_Bitmap& bitmap);

// Renders UTF-8 text with the face from the pen origin (x from the left, y the
// first baseline from the top); bytes that are no UTF-8 show as U+FFFD. The two bytes '\' 'n' break the line; a
// backslash with any other byte is dropped with it. Glyph bitmaps are placed at
// the pen without their left bearing, clipped to the image, and replace what
// lies below them, coverage 0 included. No kerning. Only glyphs that show are
// rendered; one that cannot be, or would exceed maxGlyphSide, is skipped
// without moving the pen. A character the face lacks is drawn from the
// fallback fonts, where given, at the face's size.
TextImage rasterizeText(FT_Face face, const std::string& text, PenOrigin origin, FontChain* fallback = nullptr);

// The smallest box holding every pixel of the image that has coverage; empty
// for a blank image.
PixelBox inkedBox(const TextImage& image);
