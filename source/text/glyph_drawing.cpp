// Glyphs rendered by FreeType and laid over each other.
#include "text/glyph_drawing.h"

#include <algorithm>
#include <cmath>

#include "text/font_chain.h"

namespace {

unsigned times(unsigned value, unsigned fraction) { return (value * fraction + 127) / 255; }

int roundedPixels(hb_position_t value) { return (value + 32) >> 6; }

}  // namespace

GlyphCanvas::GlyphCanvas(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    : width(width), height(height), colour{red, green, blue},
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0) {}

void GlyphCanvas::blend(int x, int y, unsigned red, unsigned green, unsigned blue, unsigned alpha) {
    if (x < 0 || y < 0 || x >= width || y >= height || alpha == 0) return;
    std::uint8_t* pixel = &pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4];
    const unsigned keep = 255 - alpha, source[4] = {red, green, blue, alpha};
    for (int i = 0; i < 4; ++i)
        pixel[i] = static_cast<std::uint8_t>(std::min(255u, source[i] + times(pixel[i], keep)));
}

void GlyphCanvas::draw(const Face& face, hb_codepoint_t glyph, hb_position_t x, hb_position_t baseline) {
    // Outlines unhinted, as HarfBuzz measured them; their embedded bitmaps
    // (small sizes of some CJK fonts) would be black and white.
    FT_Int32 flags = FT_LOAD_RENDER | FT_LOAD_COLOR;
    if (!face.fixedBitmaps) flags |= FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
    if (FT_Load_Glyph(face.freeType, glyph, flags) != 0) return;
    const FT_GlyphSlot slot = face.freeType->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int columns = static_cast<int>(bitmap.width), rows = static_cast<int>(bitmap.rows);
    if (columns == 0 || rows == 0 || bitmap.pitch < 0) return;
    const int originX = roundedPixels(x), originY = roundedPixels(baseline);

    if (bitmap.pixel_mode == FT_PIXEL_MODE_BGRA) {
        // Each drawn pixel is the mean of the bitmap's pixels it covers.
        const float scale = face.fixedBitmaps ? face.bitmapScale : 1;
        const int drawnColumns = std::max(1, static_cast<int>(std::lround(columns * scale)));
        const int drawnRows = std::max(1, static_cast<int>(std::lround(rows * scale)));
        const int left = originX + static_cast<int>(std::lround(slot->bitmap_left * scale));
        const int top = originY - static_cast<int>(std::lround(slot->bitmap_top * scale));
        for (int row = 0; row < drawnRows; ++row) {
            const int fromRow = row * rows / drawnRows, toRow = std::max(fromRow + 1, (row + 1) * rows / drawnRows);
            for (int column = 0; column < drawnColumns; ++column) {
                const int fromColumn = column * columns / drawnColumns;
                const int toColumn = std::max(fromColumn + 1, (column + 1) * columns / drawnColumns);
                unsigned sum[4] = {0, 0, 0, 0};
                for (int y = fromRow; y < toRow; ++y) {
                    const std::uint8_t* source = bitmap.buffer + y * bitmap.pitch + fromColumn * 4;
                    for (int x = fromColumn; x < toColumn; ++x, source += 4)
                        for (int i = 0; i < 4; ++i) sum[i] += source[i];
                }
                const unsigned count = static_cast<unsigned>((toRow - fromRow) * (toColumn - fromColumn));
                blend(left + column, top + row, sum[2] / count, sum[1] / count, sum[0] / count, sum[3] / count);
            }
        }
        return;
    }
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return;
    const int left = originX + slot->bitmap_left, top = originY - slot->bitmap_top;
    for (int row = 0; row < rows; ++row) {
        const std::uint8_t* line = bitmap.buffer + row * bitmap.pitch;
        for (int column = 0; column < columns; ++column) {
            const unsigned coverage = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY
                                          ? line[column]
                                          : (line[column / 8] >> (7 - column % 8) & 1) * 255u;
            blend(left + column, top + row, times(colour[0], coverage), times(colour[1], coverage),
                  times(colour[2], coverage), coverage);
        }
    }
}

std::vector<std::uint8_t> GlyphCanvas::straightRgba() const {
    std::vector<std::uint8_t> rgba = pixels;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        const unsigned alpha = rgba[i + 3];
        if (alpha == 0 || alpha == 255) continue;
        for (std::size_t k = 0; k < 3; ++k)
            rgba[i + k] = static_cast<std::uint8_t>(std::min(255u, (rgba[i + k] * 255u + alpha / 2) / alpha));
    }
    return rgba;
}
