// The quorlin's parts, their colours and their light. Body units: the body is
// a ball of radius 14 at the origin; x points forward, y down, z at the viewer.
#include "art/quorlin.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>

namespace fq::art {
namespace {

constexpr int kSupersample = 8;
constexpr double kNoseDown = 12 * kPi / 180;
// The viewer looks from a little above, so level wings still show their area.
constexpr double kViewFromAbove = 20 * kPi / 180;
constexpr double kBodyRadius = 14;

constexpr Colour kWhite{1, 1, 1};
constexpr Colour kFur{1.00, 0.60, 0.26};
constexpr Colour kFurShadow{0.62, 0.16, 0.30};
constexpr Colour kBelly{1.00, 0.90, 0.66};
constexpr Colour kCheek{1.00, 0.42, 0.52};
constexpr Colour kMouth{0.36, 0.10, 0.12};
constexpr Colour kEyeTop{0.07, 0.05, 0.18};
constexpr Colour kEyeBottom{0.32, 0.26, 0.66};
constexpr Colour kGlow{1.00, 0.92, 0.45};
constexpr Colour kWingRoot{0.30, 0.70, 1.00};
constexpr Colour kWingTip{0.78, 0.95, 1.00};
constexpr Colour kWingUnder{0.72, 0.94, 1.00};
constexpr Colour kRim{0.55, 0.75, 1.00};
constexpr Colour kInk{0.10, 0.04, 0.16};

// Objects in painting order, back to front.
enum Object { kFarWing, kTail, kFeelers, kFeet, kBody, kFarEye, kNearEye, kNearWing };

const Vec3 kLight = Normalize({-0.3, -0.75, 0.6});
// A weak light from below-front, as if the sky glowed back at the belly.
const Vec3 kBounce = Normalize({0.3, 0.7, 0.65});

// Lambert light with a coloured shadow, a bounce from below, a soft highlight
// and a cool rim that keeps the silhouette apart from the black sky.
Colour Lit(Colour base, Vec3 normal, double shine) {
  const double diffuse = std::max(0.0, Dot(normal, kLight));
  const Vec3 half = Normalize({kLight.x, kLight.y, kLight.z + 1});
  const double highlight = std::pow(std::max(0.0, Dot(normal, half)), 28) * shine;
  const double rim = std::pow(1 - std::clamp(normal.z, 0.0, 1.0), 3) * 0.3;
  const double bounce = std::max(0.0, Dot(normal, kBounce)) * 0.3;
  const Colour shade = Mix(base * 0.55, kFurShadow, 0.3);
  return Mix(shade, base, std::min(1.0, 0.3 + diffuse + bounce)) + kWhite * highlight + kRim * rim;
}

Vec3 BallNormal(Vec2 p, Vec2 centre, double radius) {
  const Vec2 q = (p - centre) * (1 / radius);
  return {q.x, q.y, std::sqrt(std::max(0.0, 1 - Dot(q, q)))};
}

double Body(Vec2 p) { return Ellipse(p, {0, 0}, {kBodyRadius + 0.5, kBodyRadius - 0.5}); }

// A wing is a flat membrane hinged along the body's long axis at its shoulder.
// Its outline lives in wing coordinates: span outwards from the shoulder,
// chord backwards.
double WingOutline(Vec2 w) {
  const double blade = Ellipse(w, {14, 3.2}, {15, 6.5}, 0.3);
  const double feathers = Union({Ellipse(w, {6.5, 7.5}, {3.3, 5.5}, 0.2),
                                 Ellipse(w, {12.5, 10.3}, {3.3, 5.7}, 0.35),
                                 Ellipse(w, {18.7, 11.5}, {3.3, 5.5}, 0.5)});
  return SmoothUnion(blade, feathers, 1.0);
}

double WingVeins(Vec2 w) {
  return Union({CurveStroke(w, {1, 1}, {5, 3.3}, {6.5, 10}, 0.35),
                CurveStroke(w, {1, 1}, {9, 3.3}, {12.5, 12.8}, 0.35),
                CurveStroke(w, {1, 1}, {14, 3.3}, {18.7, 14}, 0.35)});
}

struct Wing {
  Vec2 shoulder;   // on screen, in body units
  double stretch;  // screen height of one unit of span (signed)
  Vec3 normal;     // of the face the viewer sees, in screen axes
  bool underside;  // the viewer sees the wing's lower face
};

// side: +1 for the wing nearer the viewer, -1 for the far one.
Wing PlaceWing(double degrees, int side) {
  const double phi = degrees * kPi / 180;
  const double ca = std::cos(kViewFromAbove);
  const double sa = std::sin(kViewFromAbove);
  // World axes: x forward, y up, z at the viewer before the view tilts.
  const double shoulder_up = 6;
  const double shoulder_out = 5 * side;
  Wing wing;
  wing.shoulder = {-3.5, -(shoulder_up * ca - shoulder_out * sa)};
  const double stretch = std::sin(phi) * ca - side * std::cos(phi) * sa;
  // Edge-on a wing would vanish; keep a sliver so the beat never loses it.
  constexpr double kThinnest = 0.22;
  wing.stretch = std::abs(stretch) < kThinnest ? (stretch < 0 ? -kThinnest : kThinnest) : stretch;
  const Vec3 top{0, std::cos(phi), -side * std::sin(phi)};
  const double facing = top.y * sa + top.z * ca;
  wing.underside = facing < 0;
  // The seen face's normal in screen axes, leaned towards the viewer so that a
  // wing seen nearly edge-on still catches some light.
  const double flip = wing.underside ? -1 : 1;
  wing.normal = Normalize({0, -flip * (top.y * ca - top.z * sa), std::abs(facing) + 0.35});
  return wing;
}

std::optional<Colour> WingFill(const Wing& wing, Vec2 p, double dim) {
  const Vec2 w{(wing.shoulder.y - p.y) / wing.stretch, wing.shoulder.x - p.x};
  if (w.x < -1 || WingOutline(w) > 0) return std::nullopt;
  const double along = std::clamp(w.x / 27, 0.0, 1.0);
  Colour c = Mix(kWingRoot, kWingTip, along);
  if (wing.underside) c = Mix(c, kWingUnder, 0.6);
  c = Mix(c, kWhite, 0.35 * std::clamp((w.y - 7) / 7, 0.0, 1.0));
  if (WingVeins(w) < 0) c = c * 0.72;
  const double light = 0.85 + 0.3 * std::max(0.0, Dot(wing.normal, kLight));
  return c * (light * dim);
}

// The colour is worked out only inside: light costs more than the shapes.
template <typename Shade>
std::optional<Colour> Inside(double distance, Shade shade) {
  if (distance > 0) return std::nullopt;
  return shade();
}

std::optional<Colour> Inside(double distance, Colour colour) {
  if (distance > 0) return std::nullopt;
  return colour;
}

// Paints parts given in body units onto the pixels of a framing.
class Painter {
 public:
  Painter(LayerRaster& raster, const Pose& pose, const Framing& framing)
      : raster_(raster), pose_(pose), framing_(framing) {}

  void operator()(Object object, const std::function<std::optional<Colour>(Vec2)>& part) {
    raster_.Paint(object, [&](Vec2 pixel) {
      const Vec2 lifted = (pixel - framing_.centre) * (1 / framing_.scale) + Vec2{0, pose_.lift};
      return part(Rotate(lifted, -kNoseDown));
    });
  }

 private:
  LayerRaster& raster_;
  const Pose& pose_;
  const Framing& framing_;
};

void PaintTail(Painter& paint) {
  paint(kTail, [](Vec2 p) {
    const double stroke = CurveStroke(p, {-11, 5}, {-21, 10}, {-24, 1.5}, 1.3);
    return Inside(stroke, [&] { return Lit(kFur, {-0.2, -0.5, 0.85}, 0.2); });
  });
  paint(kTail, [](Vec2 p) {
    const double tuft = Ellipse(p, {-24.5, -0.5}, {2.3, 3.3}, -0.3);
    return Inside(tuft, [&] { return Lit(kBelly, BallNormal(p, {-24.5, -0.5}, 3.3), 0.4); });
  });
}

void PaintFeelers(Painter& paint) {
  const struct {
    Vec2 base, bend, tip;
    double ball;
    double dim;
  } feelers[] = {{{8, -10}, {9, -17}, {14.5, -19}, 1.8, 0.75}, {{2, -12}, {3, -20}, {8.5, -22}, 2.2, 1}};
  for (const auto& f : feelers) {
    paint(kFeelers, [&](Vec2 p) {
      const double stalk = CurveStroke(p, f.base, f.bend, f.tip, 0.75);
      return Inside(stalk, [&] { return Lit(kFur, {0, -0.4, 0.9}, 0) * f.dim; });
    });
    paint(kFeelers, [&](Vec2 p) {
      const Vec2 at = f.tip + Vec2{0.5, 0};
      return Inside(Circle(p, at, f.ball),
                    [&] { return Lit(kGlow, BallNormal(p, at, f.ball), 0.8) * f.dim; });
    });
  }
}

void PaintFeet(Painter& paint) {
  for (const auto& foot : {std::pair{Vec2{-4, 13.2}, 0.75}, std::pair{Vec2{3, 13.8}, 1.0}}) {
    paint(kFeet, [&foot](Vec2 p) {
      const Vec2 at = foot.first;
      const double dim = foot.second;
      return Inside(Ellipse(p, at, {2.8, 2.1}),
                    [&] { return Lit(kBelly, BallNormal(p, at, 2.8), 0.3) * dim; });
    });
  }
}

void PaintBody(Painter& paint, bool fine_parts) {
  paint(kBody, [](Vec2 p) {
    return Inside(Body(p), [&] {
      return Lit(kFur, BallNormal(p, {0, 0}, kBodyRadius + 0.5), 0.45);
    });
  });
  paint(kBody, [](Vec2 p) {
    const double belly = Intersect(Ellipse(p, {3.5, 7}, {10, 7.5}), Body(p) + 1.2);
    return Inside(belly, [&] {
      return Lit(kBelly, BallNormal(p, {0, 0}, kBodyRadius + 0.5), 0.45);
    });
  });
  paint(kBody, [](Vec2 p) {
    return Inside(Ellipse(p, {7.8, 4.4}, {2.6, 1.5}), [&] {
      return Mix(Lit(kFur, BallNormal(p, {0, 0}, kBodyRadius), 0), kCheek, 0.6);
    });
  });
  if (!fine_parts) return;
  paint(kBody, [](Vec2 p) {
    return Inside(CurveStroke(p, {9.8, 3.4}, {11.2, 5.2}, {12.6, 3.0}, 0.45), kMouth);
  });
}

// Big dark eyes with a bright glint; the far one peeks round the body's edge.
void PaintEyes(Painter& paint) {
  const struct {
    Object object;
    Vec2 centre, radii;
    Vec2 glint;
    double glint_radius;
  } eyes[] = {{kFarEye, {12.9, -2.8}, {1.9, 4.0}, {12.5, -4.3}, 0.8},
              {kNearEye, {6.5, -2}, {3.4, 4.6}, {5.5, -3.9}, 1.5}};
  for (const auto& e : eyes) {
    paint(e.object, [&](Vec2 p) {
      const double eye = Intersect(Ellipse(p, e.centre, e.radii, 0.1), Body(p) + 0.8);
      const double down = std::clamp((p.y - e.centre.y + e.radii.y) / (2 * e.radii.y), 0.0, 1.0);
      return Inside(eye, Mix(kEyeTop, kEyeBottom, down * down));
    });
    paint(e.object, [&](Vec2 p) { return Inside(Circle(p, e.glint, e.glint_radius), kWhite); });
  }
  paint(kNearEye, [](Vec2 p) {
    return Inside(Circle(p, {7.7, 0.3}, 0.7), Mix(kWhite, kEyeBottom, 0.3));
  });
}

}  // namespace

Painting DrawQuorlin(const Pose& pose, const Framing& framing) {
  LayerRaster raster(framing.width, framing.height, kSupersample);
  Painter paint(raster, pose, framing);
  const Wing far_wing = PlaceWing(pose.wing_degrees, -1);
  const Wing near_wing = PlaceWing(pose.wing_degrees, +1);
  paint(kFarWing, [&](Vec2 p) { return WingFill(far_wing, p, 0.8); });
  if (framing.fine_parts) {
    PaintTail(paint);
    PaintFeelers(paint);
  }
  PaintFeet(paint);
  PaintBody(paint, framing.fine_parts);
  PaintEyes(paint);
  paint(kNearWing, [&](Vec2 p) { return WingFill(near_wing, p, 1.0); });
  raster.DrawEdges(framing.edge, framing.edge * 0.7,
                   [](Colour c) { return Mix(c * 0.25, kInk, 0.4); });
  return raster.Resolve();
}

}  // namespace fq::art
