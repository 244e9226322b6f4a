#include "lettering.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

bool Lettering::load(const std::string& fontPath) {
  std::ifstream file(fontPath, std::ios::binary);
  bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !bytes_.empty() &&
         stbtt_InitFont(&font_, bytes_.data(), stbtt_GetFontOffsetForIndex(bytes_.data(), 0));
}

void Lettering::draw(Raster& raster, const std::string& text, Vec2 centre, float emPixels, Colour colour,
                     float tracking) const {
  float scale = stbtt_ScaleForMappingEmToPixels(&font_, emPixels);

  // Lay the letters out on a baseline at y = 0 and find the box their ink covers.
  std::vector<float> pens;
  float pen = 0, left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
  for (size_t i = 0; i < text.size(); ++i) {
    int letter = (unsigned char)text[i];
    int x0, y0, x1, y1, advance, bearing;
    stbtt_GetCodepointBitmapBoxSubpixel(&font_, letter, scale, scale, pen - std::floor(pen), 0, &x0, &y0, &x1,
                                        &y1);
    left = std::min(left, std::floor(pen) + x0), right = std::max(right, std::floor(pen) + x1);
    top = std::min(top, float(y0)), bottom = std::max(bottom, float(y1));
    pens.push_back(pen);
    stbtt_GetCodepointHMetrics(&font_, letter, &advance, &bearing);
    pen += advance * scale + tracking;
    if (i + 1 < text.size())
      pen += stbtt_GetCodepointKernAdvance(&font_, letter, (unsigned char)text[i + 1]) * scale;
  }

  Vec2 origin = centre - Vec2{(left + right) / 2, (top + bottom) / 2};
  for (size_t i = 0; i < text.size(); ++i) {
    Vec2 at = origin + Vec2{pens[i], 0};
    Vec2 whole{std::floor(at.x), std::floor(at.y)};
    int width, height, xOffset, yOffset;
    unsigned char* coverage =
        stbtt_GetCodepointBitmapSubpixel(&font_, scale, scale, at.x - whole.x, at.y - whole.y,
                                         (unsigned char)text[i], &width, &height, &xOffset, &yOffset);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        raster.blend(int(whole.x) + xOffset + x, int(whole.y) + yOffset + y, colour,
                     coverage[y * width + x] / 255.0f);
    stbtt_FreeBitmap(coverage, nullptr);
  }
}
