#include "watch_images.h"

#include <cstdio>

#include "materials.h"
#include "shapes.h"

namespace {
constexpr int shadowMargin = 6;
}

Raster makeFace() { return Raster(254, 256); }

Raster makeSteelCasedFace() {
  Raster face = makeFace();
  const Vec2 c = face.centre();
  face.shadow(disc(c, 124), 6, 0.55f);
  face.fill(disc(c, 126), steel(c, 126));
  face.fill(disc(c, 119), steel(c, 119, shadedSteel, brightSteel));
  return face;
}

HandImage::HandImage(int reach, int tail, int halfWidth)
    : raster_(2 * (halfWidth + shadowMargin), reach + tail + 2 * shadowMargin),
      pivot_{float(halfWidth + shadowMargin), float(reach + shadowMargin)} {}

bool HandImage::save(const std::string& path) const {
  std::printf("%s: %dx%d, center=%g,%g\n", path.c_str(), raster_.width(), raster_.height(), pivot_.x,
              raster_.height() - pivot_.y);
  return raster_.writePng(path);
}
