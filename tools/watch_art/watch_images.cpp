#include "watch_images.h"

#include <cstdio>

namespace {
constexpr int shadowMargin = 6;
}

Raster makeFace() { return Raster(254, 256); }

HandImage::HandImage(int reach, int tail, int halfWidth)
    : raster_(2 * (halfWidth + shadowMargin), reach + tail + 2 * shadowMargin),
      pivot_{float(halfWidth + shadowMargin), float(reach + shadowMargin)} {}

bool HandImage::save(const std::string& path) const {
  std::printf("%s: %dx%d, center=%g,%g\n", path.c_str(), raster_.width(), raster_.height(), pivot_.x,
              raster_.height() - pivot_.y);
  return raster_.writePng(path);
}
