#include "paint.h"

#include <algorithm>

Colour rgb(uint32_t hex, float alpha) {
  return {((hex >> 16) & 0xFF) / 255.0f, ((hex >> 8) & 0xFF) / 255.0f, (hex & 0xFF) / 255.0f, alpha};
}

Colour mix(Colour from, Colour to, float t) {
  auto lerp = [t](float a, float b) { return a + (b - a) * t; };
  return {lerp(from.r, to.r), lerp(from.g, to.g), lerp(from.b, to.b), lerp(from.a, to.a)};
}

Paint solid(Colour colour) {
  return [=](Vec2) { return colour; };
}

Paint linear(Vec2 from, Vec2 to, Colour start, Colour end) {
  Vec2 along = to - from;
  return [=](Vec2 p) {
    return mix(start, end, std::clamp(dot(p - from, along) / dot(along, along), 0.0f, 1.0f));
  };
}

Paint radial(Vec2 centre, float radius, Colour inner, Colour outer) {
  return [=](Vec2 p) { return mix(inner, outer, std::min(length(p - centre) / radius, 1.0f)); };
}
