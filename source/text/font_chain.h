#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include "platform/file_io.h"
#include "text/glyph_drawing.h"
#include "text/text_block.h"

// A font file's bytes: held (the primary, which the program has read
// already) or mapped from the file (a fallback, of which a text reads only
// the few glyphs it needs).
struct FontBytes {
    std::vector<char> held;
    std::unique_ptr<platform::MappedFile> mapped;

    const char* data() const { return mapped ? mapped->data() : held.data(); }
    std::size_t size() const { return mapped ? mapped->size() : held.size(); }
};

// One font of a chain. FreeType draws its glyphs; HarfBuzz shapes with its
// own reading of the same bytes, not through hb-ft, so that no FreeType call
// crosses between the program's FreeType and the one HarfBuzz was built with
// (the Linux package links FreeType in but HarfBuzz stays shared).
struct Face {
    Face() = default;
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    ~Face();

    FontBytes bytes;  // what both read, for as long as the face lives
    FT_Face freeType = nullptr;
    hb_font_t* harfBuzz = nullptr;
    bool colour = false;          // draws in colours of its own (emoji)
    bool fixedBitmaps = false;    // only bitmaps of fixed sizes, scaled to the line
    float bitmapScale = 1;        // from those bitmaps' pixels to the drawn ones
    float pixelSize = 0;          // the em it is set to, in pixels
    // HarfBuzz's plans for the face, one per script and direction shaped,
    // kept because finding one in HarfBuzz's own cache costs as much as
    // shaping a word.
    mutable std::unordered_map<std::uint64_t, hb_shape_plan_t*> shapePlans;
};

// Whether the face has a glyph for every character of the cluster that needs
// one (format characters and variation selectors need none).
bool covers(const Face& face, std::u32string_view cluster);

struct FontChain {
    FT_Library freeType = nullptr;
    std::string bundledFolder;
    std::vector<std::unique_ptr<Face>> faces;  // the primary first, then fallbacks as they opened
    GlyphCache renderedGlyphs;                 // what the faces drew lately

    // Sets every face, and each one opened from now on, to this em; the
    // primary's line height is what fixed bitmaps are scaled to.
    void setPixelSize(float pixelSize);
    // Starts a text: it may ask the system for fonts only so many times.
    void beginText();
    // The index of the face that draws the cluster (its first character is the
    // base): a face with all its characters, one that draws in colour when the
    // cluster is shown as emoji; the primary when none has them.
    int faceFor(std::u32string_view cluster);

private:
    int search(std::u32string_view cluster, bool wantColour);
    // Opens the font file as the chain's next face and says its index; -1
    // when it cannot be opened or the chain is full.
    int open(const std::string& path);
    const std::vector<std::string>& bundledFiles();
    void size(Face& face) const;

    float pixelSize = 0;
    int primaryLineHeight = 0;
    int systemLookupsLeft = 0;
    std::size_t fallbackBytes = 0;
    std::unordered_map<std::string, int> opened;  // by path; -1 for a file that failed
    std::unordered_map<std::uint32_t, int> chosen;  // single characters, their colour wish in the top bit
    std::vector<std::string> bundled;
    bool bundledListed = false;
    std::size_t bundledTried = 0;
};

// A face from the font's bytes; nothing when FreeType or HarfBuzz cannot read
// them, or when they hold neither outlines nor bitmaps.
std::unique_ptr<Face> openFace(FT_Library freeType, FontBytes bytes);

// An outline face's ascender above the baseline and descender below it, at
// its size, in whole pixels rounded up.
int ascentOf(const Face& face);
int descentOf(const Face& face);
