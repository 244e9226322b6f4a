// Labels baked into dial images (numerals, the maker's name), drawn with a
// TrueType font read while generating. Only the pixels are shipped.
#pragma once

#include <stb_truetype.h>

#include <string>
#include <vector>

#include "raster.h"

class Lettering {
public:
  // Reads the font file; false when it cannot be read or holds no font.
  bool load(const std::string& fontPath);

  // Draws `text` at `emPixels` pixels per em with the middle of its ink on
  // `centre`, leaving `tracking` extra pixels between letters.
  void draw(Raster& raster, const std::string& text, Vec2 centre, float emPixels, Colour colour,
            float tracking = 0) const;

private:
  std::vector<unsigned char> bytes_;
  stbtt_fontinfo font_{};
};
