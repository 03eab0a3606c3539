// A supersampled painter for flat layers: each layer covers what was painted
// before it, a pass adds dark edges, and the result is averaged down to pixels
// over black. It knows nothing about what it paints.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "art/geometry.h"

namespace fq::art {

struct Colour {
  double r = 0;
  double g = 0;
  double b = 0;
};

inline Colour operator*(Colour c, double k) { return {c.r * k, c.g * k, c.b * k}; }
inline Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Colour Mix(Colour a, Colour b, double t) { return a * (1 - t) + b * t; }

// The colour a layer gives the point (in pixel coordinates), or nothing
// where the layer does not reach.
using Fill = std::function<std::optional<Colour>(Vec2)>;

// Pixels as painted over black: `colour` is premultiplied by `coverage`.
struct Painting {
  int width = 0;
  int height = 0;
  std::vector<Colour> colour;
  std::vector<double> coverage;  // 0 (untouched) to 1 (fully covered)
};

class LayerRaster {
 public:
  LayerRaster(int width, int height, int supersample);

  // Paints a layer that belongs to the object `object`. Objects are ordered
  // by their first layer; later layers of the same object (markings, eyes'
  // highlights) draw no edge between themselves.
  void Paint(int object, const Fill& fill);

  // Darkens, with `edge`, every sample within `outer` pixels of the empty
  // background and every sample within `inner` pixels of an object it covers.
  void DrawEdges(double outer, double inner, const std::function<Colour(Colour)>& edge);

  Painting Resolve() const;

 private:
  struct Sample {
    int object = -1;  // -1: nothing painted here
    Colour colour;
  };

  int width_;
  int height_;
  int supersample_;
  std::vector<Sample> samples_;
  std::vector<int> depth_;  // per object: its place in the painting order, -1 unseen
};

}  // namespace fq::art
