// Colours and the paints that give a colour at every point of a shape.
#pragma once

#include <cstdint>
#include <functional>

#include "geometry.h"

// Straight (not premultiplied) RGBA, each channel from 0 to 1.
struct Colour {
  float r, g, b, a;
};

// A colour from the usual 0xRRGGBB notation.
Colour rgb(uint32_t hex, float alpha = 1);
// The colour `t` of the way from `from` to `to`.
Colour mix(Colour from, Colour to, float t);

using Paint = std::function<Colour(Vec2)>;

Paint solid(Colour colour);
// Changes from `start` at `from` to `end` at `to`, constant beyond both.
Paint linear(Vec2 from, Vec2 to, Colour start, Colour end);
// Changes from `inner` at `centre` to `outer` at `radius` and beyond.
Paint radial(Vec2 centre, float radius, Colour inner, Colour outer);
