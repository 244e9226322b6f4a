#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <fribidi.h>
#include <hb.h>

#include "text/shaping.h"

struct FontChain;

// Characters of one direction, script and font, shaped.
struct TextRun {
    std::size_t start = 0, end = 0;  // in the paragraph's text
    int face = 0;                    // in the font chain
    FriBidiLevel level = 0;          // odd for right to left
    std::vector<ShapedGlyph> glyphs;
};

// Text between line feeds, laid out but for its lines.
struct Paragraph {
    std::u32string text;
    bool rightToLeft = false;    // the first strong character's direction
    std::vector<TextRun> runs;   // in logical order
    // Per character: the advance of the glyph cluster it starts, and whether
    // it starts one (HarfBuzz's clusters keep a letter with its marks, an
    // emoji with its modifiers: where a line or a cut may fall).
    std::vector<hb_position_t> advances;
    std::vector<char> clusterStarts;
};

// Resolves the bidirectional levels (FriBidi, direction from the first strong
// character), the scripts and each character's font, and shapes the runs.
Paragraph layOutParagraph(FontChain& fonts, std::u32string text, hb_buffer_t* buffer);
