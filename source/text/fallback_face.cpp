// A character the watch package's font lacks, from the chain's outline fonts.
#include "text/fallback_face.h"

#include "text/font_chain.h"

FT_Face fallbackFace(FontChain& fonts, char32_t character, float pixelSize) {
    fonts.setPixelSize(pixelSize);
    fonts.beginText();
    const Face& face = *fonts.faces[static_cast<std::size_t>(fonts.faceFor(std::u32string(1, character)))];
    if (face.colour || face.fixedBitmaps || !covers(face, std::u32string(1, character))) return nullptr;
    return face.freeType;
}
