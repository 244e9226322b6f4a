#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <hb.h>

struct Face;

// A glyph as HarfBuzz placed it, in 26.6 pixels; 'cluster' is the index of
// the first character it stands for in the text that was shaped.
struct ShapedGlyph {
    hb_codepoint_t id = 0;
    std::uint32_t cluster = 0;
    hb_position_t advance = 0, xOffset = 0, yOffset = 0;
};

// Shapes text[start, end) in one face, script and direction; the text around
// it is the context (Arabic letters join across a change of font). The
// glyphs come in visual order, right to left reversed.
std::vector<ShapedGlyph> shape(const Face& face, const std::u32string& text, std::size_t start, std::size_t end,
                               hb_script_t script, bool rightToLeft, hb_buffer_t* buffer);
