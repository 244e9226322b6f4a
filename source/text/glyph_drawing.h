#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include <hb.h>

struct Face;

// Outline glyphs as FreeType rendered them, for the texts that follow: the
// letters a toast shares with the one before are not rendered again. Colour
// glyphs are not kept. Bounded: at most 1 MiB of glyphs, all dropped when
// the next would pass it, so no atlas of a script's thousands of glyphs
// stays in memory.
class GlyphCache {
public:
    struct Glyph {
        int left = 0, top = 0, columns = 0, rows = 0;  // the bitmap's place to the origin, and size
        std::vector<std::uint8_t> coverage;            // rows top first
    };

    // The glyph at the face's size, when kept.
    const Glyph* find(const Face& face, hb_codepoint_t glyph) const;
    const Glyph& keep(const Face& face, hb_codepoint_t glyph, Glyph rendered);

private:
    struct Key {
        const Face* face;
        hb_codepoint_t glyph;
        long em;  // the face's size, 26.6
        bool operator==(const Key& other) const {
            return face == other.face && glyph == other.glyph && em == other.em;
        }
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    static Key keyOf(const Face& face, hb_codepoint_t glyph);

    std::unordered_map<Key, Glyph, KeyHash> glyphs;
    std::size_t bytes = 0;
};

// An RGBA image that glyphs are drawn into, one over the other: straight
// alpha while only outlines in the canvas's colour were drawn; from the
// first colour glyph on, colours premultiplied by their alpha until the
// image is taken out. Outline glyphs
// come from the cache or are rendered into it; colour ones are rendered as
// they are drawn and nothing of them is kept.
class GlyphCanvas {
public:
    GlyphCanvas(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue, GlyphCache& cache);

    // Draws the face's glyph with its origin at (x, baseline), in 26.6
    // pixels: outlines in the canvas's colour, colour bitmaps in their own,
    // scaled as the face says. What falls outside the image is cut off.
    void draw(const Face& face, hb_codepoint_t glyph, hb_position_t x, hb_position_t baseline);

    // The image, straight alpha, rows top first; the canvas is empty after.
    std::vector<std::uint8_t> takeStraightRgba();

private:
    void blend(int x, int y, unsigned red, unsigned green, unsigned blue, unsigned alpha);
    void drawCoverage(const GlyphCache::Glyph& glyph, int originX, int originY);
    void premultiplyCanvasColour();

    int width, height;
    unsigned colour[3];
    GlyphCache& cache;
    std::vector<std::uint8_t> pixels;
    bool onlyCanvasColour = true;  // no colour glyph drawn yet: the pixels are straight
};
