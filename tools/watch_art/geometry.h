// Points and directions in image pixels: x to the right, y downwards, the
// centre of pixel (i, j) at (i + 0.5, j + 0.5).
#pragma once

#include <cmath>

struct Vec2 {
  float x, y;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
inline float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float length(Vec2 a) { return std::sqrt(dot(a, a)); }

constexpr float pi = 3.14159265f;

// The unit direction that a clock hand at `angle` radians points to: 0 is
// twelve o'clock, growing clockwise as seen in the image.
inline Vec2 clockDirection(float angle) { return {std::sin(angle), -std::cos(angle)}; }

// `point` turned clockwise about `pivot` by `angle` radians.
inline Vec2 turnedClockwise(Vec2 point, Vec2 pivot, float angle) {
  Vec2 d = point - pivot;
  float c = std::cos(angle), s = std::sin(angle);
  return pivot + Vec2{d.x * c - d.y * s, d.x * s + d.y * c};
}
