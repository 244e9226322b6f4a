#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include "text/text_block.h"

// For text drawn glyph by glyph in a font of its own (a watch package's),
// a character that font lacks: the chain's face that has it, an outline set
// to that many pixels; null when only a colour or bitmap face has it, or none.
FT_Face fallbackFace(FontChain& fonts, char32_t character, float pixelSize);
