#include "materials.h"

#include <algorithm>
#include <cmath>

const Colour brightSteel = rgb(0xF7F9FB), shadedSteel = rgb(0x8A94A1);

Paint steel(Vec2 centre, float radius, Colour lit, Colour shaded) {
  Vec2 corner{radius * 0.7f, radius * 0.7f};
  return linear(centre - corner, centre + corner, lit, shaded);
}

Paint sunburst(Vec2 centre, float radius) {
  return [=](Vec2 p) {
    Vec2 d = p - centre;
    float sheen = 0.5f + 0.5f * std::cos(2 * std::atan2(d.y, d.x) + 1.2f);
    Colour base = mix(rgb(0x2B4262), rgb(0x0B1320), std::min(length(d) / radius, 1.0f));
    return mix(base, rgb(0x6D87A8), 0.22f * sheen * sheen);
  };
}
