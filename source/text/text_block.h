#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

typedef struct FT_LibraryRec_* FT_Library;

// Text that comes from outside the program (senders' notifications, the
// names and descriptions of watch packages), in any script: shaped with
// HarfBuzz, right-to-left runs ordered with FriBidi, broken into lines where
// Unicode allows (libunibreak), and drawn with FreeType into an image,
// colour emoji included.

// The fonts text is drawn in: the primary font first; a character it lacks
// is looked for in the system's fonts (fontconfig on Linux, the standard UI
// fonts on Windows), then in the fonts of a folder shipped with the program.
// A fallback font is opened only when a character first needs it, and then
// kept, so a text in the primary font's scripts costs nothing more.
struct FontChain;
struct FontChainDeleter {
    void operator()(FontChain* chain) const;
};
using FontChainPointer = std::unique_ptr<FontChain, FontChainDeleter>;

// 'primary' holds a font file's bytes (the chain keeps them); 'bundledFolder'
// names the folder of shipped fallback fonts ("fonts" in the run directory).
// Nothing when FreeType cannot open the primary font or it has no outlines.
FontChainPointer createFontChain(FT_Library freeType, std::vector<char> primary, std::string bundledFolder);

struct TextBlockStyle {
    float pixelSize = 20;  // the primary font's em; colour emoji are scaled to the line
    int maxWidth = 256;    // lines wrap within this many pixels
    int maxLines = 1;      // more is cut, the last line ending in "…" on a glyph boundary
    std::uint8_t red = 255, green = 255, blue = 255;
};

// RGBA, straight alpha, rows top first. Glyphs in the style's colour, colour
// emoji in their own. Lines are laid out in the paragraph's direction: a
// paragraph that starts with a right-to-left letter is right-aligned. A line
// feed in the text starts a new line.
struct TextBlock {
    int width = 0;   // at most maxWidth; 0 for an empty text
    int height = 0;  // the lines' height
    int lines = 0;
    bool cut = false;  // something did not fit and "…" ends the last line
    std::vector<std::uint8_t> rgba;
};

TextBlock renderTextBlock(FontChain& fonts, std::string_view utf8, const TextBlockStyle& style);
