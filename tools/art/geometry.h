// The small vector maths and signed distances the creature is built from.
// Distances are negative inside a shape; y grows downwards, as on screen.
#pragma once

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace fq::art {

inline constexpr double kPi = 3.14159265358979323846;

struct Vec2 {
  double x = 0;
  double y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double k) { return {a.x * k, a.y * k}; }
inline double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline double Length(Vec2 a) { return std::sqrt(Dot(a, a)); }

// Turns `p` by `radians` (clockwise on screen, since y points down).
inline Vec2 Rotate(Vec2 p, double radians) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  return {p.x * c - p.y * s, p.x * s + p.y * c};
}

struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
};

inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Normalize(Vec3 a) {
  const double n = std::sqrt(Dot(a, a));
  return {a.x / n, a.y / n, a.z / n};
}

// Not an exact distance away from a circle, but its sign is exact and it
// grows smoothly, which is all the painting needs.
inline double Ellipse(Vec2 p, Vec2 centre, Vec2 radii, double turn = 0) {
  const Vec2 q = Rotate(p - centre, -turn);
  const Vec2 n{q.x / radii.x, q.y / radii.y};
  return (Length(n) - 1) * std::min(radii.x, radii.y);
}

inline double Circle(Vec2 p, Vec2 centre, double radius) { return Length(p - centre) - radius; }

// A stroke of half-width `radius` along the segment a-b, with round ends.
inline double Capsule(Vec2 p, Vec2 a, Vec2 b, double radius) {
  const Vec2 ab = b - a;
  const double t = std::clamp(Dot(p - a, ab) / Dot(ab, ab), 0.0, 1.0);
  return Length(p - (a + ab * t)) - radius;
}

// A stroke along the quadratic curve a-(c)-b, as a chain of short capsules.
inline double CurveStroke(Vec2 p, Vec2 a, Vec2 c, Vec2 b, double radius) {
  // The curve lies within the circle round its three points' middle that holds them. For a point
  // well outside it, most of a picture, the distance to that circle stands in: never more than
  // the stroke's, of the same sign, and without the capsules.
  const Vec2 middle = (a + b + c) * (1.0 / 3);
  const double reach = std::max({Length(a - middle), Length(b - middle), Length(c - middle)});
  const double beyond = Length(p - middle) - reach - radius;
  if (beyond > 1) return beyond;
  constexpr int kSteps = 12;
  double best = 1e9;
  Vec2 previous = a;
  for (int i = 1; i <= kSteps; ++i) {
    const double t = static_cast<double>(i) / kSteps;
    const Vec2 point = a * ((1 - t) * (1 - t)) + c * (2 * (1 - t) * t) + b * (t * t);
    best = std::min(best, Capsule(p, previous, point, radius));
    previous = point;
  }
  return best;
}

inline double Union(std::initializer_list<double> distances) { return std::min(distances); }
inline double Intersect(double a, double b) { return std::max(a, b); }

// A union with a rounded seam of width `k`, so joined parts read as one body.
inline double SmoothUnion(double a, double b, double k) {
  const double h = std::clamp(0.5 + 0.5 * (b - a) / k, 0.0, 1.0);
  return b * (1 - h) + a * h - k * h * (1 - h);
}

}  // namespace fq::art
