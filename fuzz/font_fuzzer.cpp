// A text element whose font file holds arbitrary bytes: opened as the loader
// opens it, then drawn with a text that reaches digits, letters, line breaks,
// UTF-8 and stray Latin-1 bytes.
#include <cstdint>
#include <cstdlib>

#include "watch/text_raster.h"

namespace {

FT_Library freeType() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) std::abort();
    return library;
}

// Outline fonts at the size of a 20-point text; bitmap fonts at their first
// strike, the only sizes they can draw.
FT_UInt drawableSize(FT_Face face) {
    if (FT_IS_SCALABLE(face) || face->num_fixed_sizes < 1) return 30;
    return static_cast<FT_UInt>(face->available_sizes[0].y_ppem / 64);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FT_Library library = freeType();
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library, data, static_cast<FT_Long>(size), 0, &face) != 0) return 0;
    const FT_UInt pixelSize = drawableSize(face);
    FT_Set_Pixel_Sizes(face, pixelSize, pixelSize);
    rasterizeText(face, "09:41 Wed 07 Jan\\nAgy|\xC3\xA9\xE2\x82\xAC\xE9\\t%", PenOrigin{4, 40});
    FT_Done_Face(face);
    return 0;
}
