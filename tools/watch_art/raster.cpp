#include "raster.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cstdint>

Raster::Raster(int width, int height)
    : width_(width), height_(height), premultiplied_(size_t(width) * height, Colour{0, 0, 0, 0}) {}

void Raster::fill(const Shape& shape, const Paint& paint, float softness) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      Vec2 p{x + 0.5f, y + 0.5f};
      float coverage = std::clamp(0.5f - shape(p) / softness, 0.0f, 1.0f);
      if (coverage > 0) blend(x, y, paint(p), coverage);
    }
}

void Raster::blend(int x, int y, Colour colour, float coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  float alpha = colour.a * coverage;
  Colour& below = premultiplied_[size_t(y) * width_ + x];
  below = {colour.r * alpha + below.r * (1 - alpha), colour.g * alpha + below.g * (1 - alpha),
           colour.b * alpha + below.b * (1 - alpha), alpha + below.a * (1 - alpha)};
}

void Raster::shadow(const Shape& shape, float blur, float opacity) {
  fill(rounded(shape, blur / 4), solid(Colour{0, 0, 0, opacity}), blur);
}

bool Raster::writePng(const std::string& path) const {
  std::vector<uint8_t> bytes;
  bytes.reserve(premultiplied_.size() * 4);
  auto byte = [](float channel) { return uint8_t(std::clamp(channel, 0.0f, 1.0f) * 255 + 0.5f); };
  for (const Colour& c : premultiplied_) {
    float unpremultiply = c.a > 0 ? 1 / c.a : 0;
    bytes.insert(bytes.end(), {byte(c.r * unpremultiply), byte(c.g * unpremultiply),
                               byte(c.b * unpremultiply), byte(c.a)});
  }
  return stbi_write_png(path.c_str(), width_, height_, 4, bytes.data(), width_ * 4) != 0;
}
