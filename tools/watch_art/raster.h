// An RGBA image that shapes are painted onto, back to front, and that is
// saved as a PNG with straight alpha, as the watch loader expects.
#pragma once

#include <string>
#include <vector>

#include "paint.h"
#include "shapes.h"

class Raster {
public:
  Raster(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  Vec2 centre() const { return {width_ / 2.0f, height_ / 2.0f}; }

  // Lays `paint` over the pixels that `shape` covers. The edge fades out over
  // `softness` pixels: 1 gives a crisp anti-aliased edge, more a blur.
  void fill(const Shape& shape, const Paint& paint, float softness = 1);
  // Lays `colour` over one pixel with the given coverage (0 to 1).
  void blend(int x, int y, Colour colour, float coverage);
  // A soft dark halo around `shape`, painted before the shape to lift it off
  // what lies below.
  void shadow(const Shape& shape, float blur, float opacity);

  bool writePng(const std::string& path) const;

private:
  int width_, height_;
  std::vector<Colour> premultiplied_;
};
