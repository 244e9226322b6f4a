#include "shapes.h"

#include <algorithm>
#include <utility>

Shape disc(Vec2 centre, float radius) {
  return [=](Vec2 p) { return length(p - centre) - radius; };
}

Shape ring(Vec2 centre, float radius, float width) {
  return [=](Vec2 p) { return std::fabs(length(p - centre) - radius) - width / 2; };
}

Shape capsule(Vec2 from, Vec2 to, float radius) {
  return [=](Vec2 p) {
    Vec2 along = to - from, offset = p - from;
    float t = std::clamp(dot(offset, along) / dot(along, along), 0.0f, 1.0f);
    return length(offset - along * t) - radius;
  };
}

Shape box(Vec2 centre, Vec2 halfSize) {
  return [=](Vec2 p) {
    Vec2 q{std::fabs(p.x - centre.x) - halfSize.x, std::fabs(p.y - centre.y) - halfSize.y};
    Vec2 outside{std::max(q.x, 0.0f), std::max(q.y, 0.0f)};
    return length(outside) + std::min(std::max(q.x, q.y), 0.0f);
  };
}

Shape polygon(std::vector<Vec2> corners) {
  return [corners = std::move(corners)](Vec2 p) {
    // Nearest edge gives the distance; crossings of a ray to the right give the side.
    float nearest = INFINITY;
    bool inside = false;
    for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
      Vec2 a = corners[j], b = corners[i];
      Vec2 edge = b - a, offset = p - a;
      float t = std::clamp(dot(offset, edge) / dot(edge, edge), 0.0f, 1.0f);
      nearest = std::min(nearest, length(offset - edge * t));
      if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) / (b.y - a.y) * edge.x) inside = !inside;
    }
    return inside ? -nearest : nearest;
  };
}

Shape rounded(Shape shape, float radius) {
  return [=](Vec2 p) { return shape(p) - radius; };
}

Shape unite(Shape a, Shape b) {
  return [=](Vec2 p) { return std::min(a(p), b(p)); };
}

Shape subtract(Shape from, Shape cut) {
  return [=](Vec2 p) { return std::max(from(p), -cut(p)); };
}

Shape turned(Shape shape, Vec2 pivot, float angle) {
  // Sampling the original at the point turned back turns the shape forward.
  return [=](Vec2 p) { return shape(turnedClockwise(p, pivot, -angle)); };
}

Shape spoke(Vec2 centre, float innerRadius, float outerRadius, float halfWidth, float angle) {
  Shape atTwelve =
      box(centre - Vec2{0, (innerRadius + outerRadius) / 2}, {halfWidth, (outerRadius - innerRadius) / 2});
  return turned(atTwelve, centre, angle);
}
