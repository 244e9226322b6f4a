// Shapes as signed distance functions: the distance in pixels from a point to
// the shape's outline, negative inside. Painting turns the distance at each
// pixel centre into coverage, which gives smooth edges for free.
#pragma once

#include <functional>
#include <vector>

#include "geometry.h"

using Shape = std::function<float(Vec2)>;

Shape disc(Vec2 centre, float radius);
// A band of `width` pixels centred on the circle of `radius`.
Shape ring(Vec2 centre, float radius, float width);
// A bar with round ends from `from` to `to`, `radius` thick on each side.
Shape capsule(Vec2 from, Vec2 to, float radius);
// An axis-aligned rectangle; round its corners with `rounded`.
Shape box(Vec2 centre, Vec2 halfSize);
// Any simple polygon, corners in order.
Shape polygon(std::vector<Vec2> corners);

// The shape grown by `radius` (shrunk when negative); growing rounds corners.
Shape rounded(Shape shape, float radius);
Shape unite(Shape a, Shape b);
Shape subtract(Shape from, Shape cut);
// The shape turned clockwise about `pivot` by `angle` radians.
Shape turned(Shape shape, Vec2 pivot, float angle);

// A straight bar along the radius of a dial centred on `centre`, from
// `innerRadius` to `outerRadius`, at the clock `angle`: ticks and indices.
Shape spoke(Vec2 centre, float innerRadius, float outerRadius, float halfWidth, float angle);
