#pragma once

#include <cstdint>
#include <vector>

#include <hb.h>

struct Face;

// An RGBA image that glyphs are drawn into, one over the other, colours
// premultiplied by their alpha until the image is taken out. Each glyph is
// rendered as it is drawn: nothing of it is kept.
class GlyphCanvas {
public:
    GlyphCanvas(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    // Draws the face's glyph with its origin at (x, baseline), in 26.6
    // pixels: outlines in the canvas's colour, colour bitmaps in their own,
    // scaled as the face says. What falls outside the image is cut off.
    void draw(const Face& face, hb_codepoint_t glyph, hb_position_t x, hb_position_t baseline);

    // The image, straight alpha, rows top first.
    std::vector<std::uint8_t> straightRgba() const;

private:
    void blend(int x, int y, unsigned red, unsigned green, unsigned blue, unsigned alpha);

    int width, height;
    unsigned colour[3];
    std::vector<std::uint8_t> pixels;
};
