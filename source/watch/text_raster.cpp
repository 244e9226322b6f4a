#include "watch/text_raster.h"

#include <algorithm>
#include <cstdlib>

#include "platform/text_encoding.h"
#include "text/fallback_face.h"

std::vector<std::uint8_t> glyphCoverage(const FT_Bitmap& bitmap) {
    std::vector<std::uint8_t> coverage;
    const bool grey = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    if (!grey && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return coverage;
    // A damaged bitmap font can give a glyph a size but no pixels, or rows
    // shorter than its width: reading them would run off the buffer.
    const size_t pitch = size_t(std::abs(bitmap.pitch));
    const size_t rowBytes = grey ? bitmap.width : (size_t(bitmap.width) + 7) / 8;
    if (!bitmap.buffer || pitch < rowBytes) return coverage;
    coverage.reserve(size_t(bitmap.rows) * bitmap.width);
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* source = bitmap.buffer + row * pitch;
        for (unsigned column = 0; column < bitmap.width; ++column) {
            if (grey)
                coverage.push_back(source[column]);
            else
                coverage.push_back((source[column / 8] & (0x80 >> (column % 8))) ? 255 : 0);
        }
    }
    return coverage;
}

namespace {

// Copies the coverage into the image with its top-left pixel at (left, top),
// leaving out whatever falls outside.
void placeGlyph(TextImage& image, const std::vector<std::uint8_t>& coverage, long width,
                long rows, long left, long top) {
    const long firstRow = std::max(0L, -top), endRow = std::min(rows, textImageSide - top);
    const long firstColumn = std::max(0L, -left), endColumn = std::min(width, textImageSide - left);
    for (long i = firstRow; i < endRow; ++i)
        for (long j = firstColumn; j < endColumn; ++j) {
            const std::uint8_t value = coverage[size_t(i * width + j)];
            std::uint8_t* pixel = &image[size_t(((top + i) * textImageSide + left + j) * 4)];
            std::fill(pixel, pixel + 4, value);
        }
}

bool isTooLarge(const FT_Bitmap& bitmap) {
    return bitmap.width > maxGlyphSide || bitmap.rows > maxGlyphSide;
}

bool showsOnImage(const FT_Bitmap& bitmap, long left, long top) {
    return left < textImageSide && top < textImageSide && left + long(bitmap.width) > 0 &&
           top + long(bitmap.rows) > 0;
}

}  // namespace

TextImage rasterizeText(FT_Face face, const std::string& text, PenOrigin origin, FontChain* fallback) {
    TextImage image(size_t(textImageSide) * textImageSide * 4, 0);
    // Positions are 64-bit: an origin near the integer limits must not overflow.
    long penX = 0, penY = 0;
    const long lineHeight = face->size->metrics.height / 64;
    for (size_t at = 0; at < text.size();) {
        if (text[at] == '\\') {
            if (at + 1 >= text.size()) break;
            if (text[at + 1] == 'n') {
                penX = 0;
                penY += lineHeight;
            }
            at += 2;
            continue;
        }
        const char32_t codePoint = platform::decodeUtf8(text, at).value_or(platform::replacementCharacter);
        FT_Face drawing = face;
        if (fallback && FT_Get_Char_Index(face, codePoint) == 0) {
            if (FT_Face other = fallbackFace(*fallback, codePoint, face->size->metrics.y_ppem)) drawing = other;
        }
        // Loading without rendering presets the bitmap's size and place, so
        // only glyphs that show are rendered, and none of a huge size.
        if (FT_Load_Char(drawing, codePoint, FT_LOAD_DEFAULT) != 0) continue;
        const FT_GlyphSlot glyph = drawing->glyph;
        if (isTooLarge(glyph->bitmap)) continue;
        const long left = long(origin.x) + penX;
        const long top = long(origin.y) + penY - glyph->bitmap_top;
        if (showsOnImage(glyph->bitmap, left, top)) {
            if (FT_Render_Glyph(glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
            const std::vector<std::uint8_t> coverage = glyphCoverage(glyph->bitmap);
            if (!coverage.empty())
                placeGlyph(image, coverage, glyph->bitmap.width, glyph->bitmap.rows, left, top);
        }
        penX += glyph->advance.x / 64;
    }
    return image;
}

PixelBox inkedBox(const TextImage& image) {
    PixelBox box{textImageSide, textImageSide, 0, 0};
    for (int row = 0; row < textImageSide; ++row)
        for (int column = 0; column < textImageSide; ++column)
            if (image[size_t((row * textImageSide + column) * 4)] != 0) {
                box.left = std::min(box.left, column);
                box.top = std::min(box.top, row);
                box.right = std::max(box.right, column + 1);
                box.bottom = std::max(box.bottom, row + 1);
            }
    return box;
}
