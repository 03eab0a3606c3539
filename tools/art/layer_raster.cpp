// The supersampled painter: paint, edge pass, and averaging to pixels.
#include "art/layer_raster.h"

#include <cmath>

namespace fq::art {
namespace {

struct Offset {
  int dx;
  int dy;
};

// Every sample offset within `radius` samples of the centre.
std::vector<Offset> Disc(double radius) {
  std::vector<Offset> offsets;
  const int reach = static_cast<int>(std::ceil(radius));
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      if ((dx != 0 || dy != 0) && dx * dx + dy * dy <= radius * radius) offsets.push_back({dx, dy});
    }
  }
  return offsets;
}

}  // namespace

LayerRaster::LayerRaster(int width, int height, int supersample)
    : width_(width),
      height_(height),
      supersample_(supersample),
      samples_(static_cast<size_t>(width) * height * supersample * supersample) {}

void LayerRaster::Paint(int object, const Fill& fill) {
  if (object >= static_cast<int>(depth_.size())) depth_.resize(object + 1, -1);
  if (depth_[object] < 0) {
    int next = 0;
    for (int d : depth_) next = std::max(next, d + 1);
    depth_[object] = next;
  }
  const int columns = width_ * supersample_;
  const int rows = height_ * supersample_;
  for (int sy = 0; sy < rows; ++sy) {
    for (int sx = 0; sx < columns; ++sx) {
      const Vec2 at{(sx + 0.5) / supersample_, (sy + 0.5) / supersample_};
      if (const std::optional<Colour> colour = fill(at)) {
        samples_[static_cast<size_t>(sy) * columns + sx] = {object, *colour};
      }
    }
  }
}

void LayerRaster::DrawEdges(double outer, double inner,
                            const std::function<Colour(Colour)>& edge) {
  const std::vector<Offset> outer_disc = Disc(outer * supersample_);
  const std::vector<Offset> inner_disc = Disc(inner * supersample_);
  const int columns = width_ * supersample_;
  const int rows = height_ * supersample_;
  const auto object_at = [&](int sx, int sy) {
    if (sx < 0 || sy < 0 || sx >= columns || sy >= rows) return -1;
    return samples_[static_cast<size_t>(sy) * columns + sx].object;
  };
  std::vector<Sample> edged = samples_;
  for (int sy = 0; sy < rows; ++sy) {
    for (int sx = 0; sx < columns; ++sx) {
      const int object = object_at(sx, sy);
      if (object < 0) continue;
      bool on_edge = false;
      for (const Offset& o : outer_disc) {
        if (object_at(sx + o.dx, sy + o.dy) < 0) {
          on_edge = true;
          break;
        }
      }
      for (size_t i = 0; !on_edge && i < inner_disc.size(); ++i) {
        const int other = object_at(sx + inner_disc[i].dx, sy + inner_disc[i].dy);
        on_edge = other >= 0 && depth_[other] < depth_[object];
      }
      if (on_edge) {
        Sample& sample = edged[static_cast<size_t>(sy) * columns + sx];
        sample.colour = edge(sample.colour);
      }
    }
  }
  samples_ = std::move(edged);
}

Painting LayerRaster::Resolve() const {
  Painting painting{width_, height_, {}, {}};
  painting.colour.resize(static_cast<size_t>(width_) * height_);
  painting.coverage.resize(painting.colour.size());
  const int columns = width_ * supersample_;
  const double per_sample = 1.0 / (supersample_ * supersample_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      Colour sum;
      int covered = 0;
      for (int j = 0; j < supersample_; ++j) {
        for (int i = 0; i < supersample_; ++i) {
          const Sample& s =
              samples_[static_cast<size_t>(y * supersample_ + j) * columns + x * supersample_ + i];
          if (s.object < 0) continue;
          sum = sum + s.colour;
          ++covered;
        }
      }
      const size_t at = static_cast<size_t>(y) * width_ + x;
      painting.colour[at] = sum * per_sample;
      painting.coverage[at] = covered * per_sample;
    }
  }
  return painting;
}

}  // namespace fq::art
