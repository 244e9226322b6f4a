// Glyphs rendered by FreeType and laid over each other.
#include "text/glyph_drawing.h"

#include <algorithm>
#include <cmath>

#include "text/font_chain.h"

namespace {

unsigned times(unsigned value, unsigned fraction) { return (value * fraction + 127) / 255; }

int roundedPixels(hb_position_t value) { return (value + 32) >> 6; }

}  // namespace

GlyphCache::Key GlyphCache::keyOf(const Face& face, hb_codepoint_t glyph) {
    return {&face, glyph, std::lround(face.pixelSize * 64)};
}

std::size_t GlyphCache::KeyHash::operator()(const Key& key) const {
    return std::hash<const void*>()(key.face) ^ (std::size_t{key.glyph} << 20) ^ static_cast<std::size_t>(key.em);
}

const GlyphCache::Glyph* GlyphCache::find(const Face& face, hb_codepoint_t glyph) const {
    const auto found = glyphs.find(keyOf(face, glyph));
    return found == glyphs.end() ? nullptr : &found->second;
}

const GlyphCache::Glyph& GlyphCache::keep(const Face& face, hb_codepoint_t glyph, Glyph rendered) {
    constexpr std::size_t maxBytes = std::size_t{1} << 20;
    const std::size_t size = rendered.coverage.size() + sizeof(Glyph) + sizeof(Key);
    if (bytes + size > maxBytes) {
        glyphs.clear();
        bytes = 0;
    }
    bytes += size;
    return glyphs.insert_or_assign(keyOf(face, glyph), std::move(rendered)).first->second;
}

GlyphCanvas::GlyphCanvas(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                         GlyphCache& cache)
    : width(width), height(height), colour{red, green, blue}, cache(cache),
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0) {}

void GlyphCanvas::blend(int x, int y, unsigned red, unsigned green, unsigned blue, unsigned alpha) {
    if (x < 0 || y < 0 || x >= width || y >= height || alpha == 0) return;
    std::uint8_t* pixel = &pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4];
    const unsigned source[4] = {red, green, blue, alpha};
    // Most of a glyph lands where nothing was drawn yet.
    const unsigned keep = pixel[3] == 0 ? 0 : 255 - alpha;
    for (int i = 0; i < 4; ++i)
        pixel[i] = static_cast<std::uint8_t>(keep == 0 ? source[i] : std::min(255u, source[i] + times(pixel[i], keep)));
}

void GlyphCanvas::drawCoverage(const GlyphCache::Glyph& glyph, int originX, int originY) {
    const int left = originX + glyph.left, top = originY - glyph.top;
    const int fromRow = std::max(0, -top), toRow = std::min(glyph.rows, height - top);
    const int fromColumn = std::max(0, -left), toColumn = std::min(glyph.columns, width - left);
    if (!onlyCanvasColour) {
        for (int row = fromRow; row < toRow; ++row) {
            for (int column = fromColumn; column < toColumn; ++column) {
                const unsigned alpha = glyph.coverage[static_cast<std::size_t>(row) * glyph.columns + column];
                blend(left + column, top + row, times(colour[0], alpha), times(colour[1], alpha),
                      times(colour[2], alpha), alpha);
            }
        }
        return;
    }
    // Straight alpha until a colour glyph comes: the colour and the coverage.
    // Bytes written may alias any member, so the loop keeps its own copies.
    const std::uint8_t red = static_cast<std::uint8_t>(colour[0]), green = static_cast<std::uint8_t>(colour[1]),
                       blue = static_cast<std::uint8_t>(colour[2]);
    for (int row = fromRow; row < toRow; ++row) {
        const std::uint8_t* coverage = &glyph.coverage[static_cast<std::size_t>(row) * glyph.columns];
        std::uint8_t* pixel = &pixels[(static_cast<std::size_t>(top + row) * width + left + fromColumn) * 4];
        for (int column = fromColumn; column < toColumn; ++column, pixel += 4) {
            const unsigned alpha = coverage[column];
            if (alpha == 0) continue;
            pixel[0] = red;
            pixel[1] = green;
            pixel[2] = blue;
            pixel[3] = static_cast<std::uint8_t>(alpha + times(pixel[3], 255 - alpha));
        }
    }
}

void GlyphCanvas::premultiplyCanvasColour() {
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        for (std::size_t k = 0; k < 3; ++k) pixels[i + k] = static_cast<std::uint8_t>(times(colour[k], pixels[i + 3]));
    onlyCanvasColour = false;
}

void GlyphCanvas::draw(const Face& face, hb_codepoint_t glyph, hb_position_t x, hb_position_t baseline) {
    const int originX = roundedPixels(x), originY = roundedPixels(baseline);
    if (const GlyphCache::Glyph* kept = cache.find(face, glyph)) {
        drawCoverage(*kept, originX, originY);
        return;
    }
    // Outlines unhinted, as HarfBuzz measured them; their embedded bitmaps
    // (small sizes of some CJK fonts) would be black and white.
    FT_Int32 flags = FT_LOAD_RENDER | FT_LOAD_COLOR;
    if (!face.fixedBitmaps) flags |= FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
    if (FT_Load_Glyph(face.freeType, glyph, flags) != 0) return;
    const FT_GlyphSlot slot = face.freeType->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int columns = static_cast<int>(bitmap.width), rows = static_cast<int>(bitmap.rows);
    if (bitmap.pitch < 0) return;

    if (bitmap.pixel_mode == FT_PIXEL_MODE_BGRA) {
        if (columns == 0 || rows == 0) return;
        if (onlyCanvasColour) premultiplyCanvasColour();
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
    // Blanks are kept too, as glyphs of no pixels, so that a space is not
    // rendered again.
    if (columns == 0 || rows == 0) {
        cache.keep(face, glyph, {});
        return;
    }
    GlyphCache::Glyph rendered{slot->bitmap_left, slot->bitmap_top, columns, rows, {}};
    rendered.coverage.reserve(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        const std::uint8_t* line = bitmap.buffer + row * bitmap.pitch;
        for (int column = 0; column < columns; ++column)
            rendered.coverage.push_back(bitmap.pixel_mode == FT_PIXEL_MODE_GRAY
                                            ? line[column]
                                            : static_cast<std::uint8_t>((line[column / 8] >> (7 - column % 8) & 1) * 255));
    }
    drawCoverage(cache.keep(face, glyph, std::move(rendered)), originX, originY);
}

std::vector<std::uint8_t> GlyphCanvas::takeStraightRgba() {
    std::vector<std::uint8_t> rgba = std::move(pixels);
    if (onlyCanvasColour) return rgba;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        const unsigned alpha = rgba[i + 3];
        if (alpha == 0 || alpha == 255) continue;
        for (std::size_t k = 0; k < 3; ++k)
            rgba[i + k] = static_cast<std::uint8_t>(std::min(255u, (rgba[i + k] * 255u + alpha / 2) / alpha));
    }
    return rgba;
}
