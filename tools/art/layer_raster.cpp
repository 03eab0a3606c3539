// The supersampled painter: paint, edge pass, and averaging to pixels.
#include "art/layer_raster.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace fq::art {
namespace {

// The disc of every sample offset within `radius` samples of the centre, as
// the half-width of each of its rows from dy = -reach to reach (-1: the row
// holds no offset).
std::vector<int> DiscRows(double radius) {
  const int reach = static_cast<int>(std::ceil(radius));
  std::vector<int> half_widths;
  for (int dy = -reach; dy <= reach; ++dy) {
    int half = -1;
    while (half < reach && (half + 1) * (half + 1) + dy * dy <= radius * radius) ++half;
    half_widths.push_back(half);
  }
  return half_widths;
}

// Range queries along rows of samples in constant time, so that the edge
// pass costs a disc's height per sample rather than its area.
class RowIndex {
 public:
  RowIndex(const std::vector<uint8_t>& depths, int columns)
      : columns_(columns), empties_(depths.size() + depths.size() / columns, 0) {
    const size_t rows = depths.size() / columns;
    for (size_t y = 0; y < rows; ++y) {
      for (int x = 0; x < columns; ++x) {
        empties_[y * (columns + 1) + x + 1] =
            empties_[y * (columns + 1) + x] + (depths[y * columns + x] == kEmpty);
      }
    }
    minima_.push_back(depths);
    for (int span = 2; span <= columns; span *= 2) {
      const std::vector<uint8_t>& half = minima_.back();
      std::vector<uint8_t> level(depths.size(), kEmpty);
      for (size_t y = 0; y < rows; ++y) {
        for (int x = 0; x + span <= columns; ++x) {
          const size_t at = y * columns + x;
          level[at] = std::min(half[at], half[at + span / 2]);
        }
      }
      minima_.push_back(std::move(level));
    }
  }

  static constexpr uint8_t kEmpty = 255;

  // Whether row `y` from `left` to `right` (inclusive, inside the row) holds an empty sample.
  bool AnyEmpty(int y, int left, int right) const {
    const size_t row = static_cast<size_t>(y) * (columns_ + 1);
    return empties_[row + right + 1] != empties_[row + left];
  }

  // The least depth in row `y` from `left` to `right` (inclusive, inside the row).
  uint8_t LeastDepth(int y, int left, int right) const {
    const int level = std::bit_width(static_cast<unsigned>(right - left + 1)) - 1;
    const size_t row = static_cast<size_t>(y) * columns_;
    return std::min(minima_[level][row + left], minima_[level][row + right - (1 << level) + 1]);
  }

 private:
  int columns_;
  std::vector<int32_t> empties_;  // per row: empty samples before each column
  std::vector<std::vector<uint8_t>> minima_;  // level j: least depth of 2^j samples from here
};

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
  const std::vector<int> outer_disc = DiscRows(outer * supersample_);
  const std::vector<int> inner_disc = DiscRows(inner * supersample_);
  const int columns = width_ * supersample_;
  const int rows = height_ * supersample_;
  std::vector<uint8_t> depths(samples_.size(), RowIndex::kEmpty);
  for (size_t i = 0; i < samples_.size(); ++i) {
    if (samples_[i].object >= 0) depths[i] = static_cast<uint8_t>(depth_[samples_[i].object]);
  }
  const RowIndex index(depths, columns);
  // Outside the picture counts as empty background, and as no object at all.
  const auto near_empty = [&](int sx, int sy) {
    const int reach = static_cast<int>(outer_disc.size() / 2);
    for (int dy = -reach; dy <= reach; ++dy) {
      const int half = outer_disc[dy + reach];
      if (half < 0) continue;
      if (sy + dy < 0 || sy + dy >= rows || sx - half < 0 || sx + half >= columns) return true;
      if (index.AnyEmpty(sy + dy, sx - half, sx + half)) return true;
    }
    return false;
  };
  const auto near_deeper = [&](int sx, int sy, uint8_t depth) {
    const int reach = static_cast<int>(inner_disc.size() / 2);
    for (int dy = -reach; dy <= reach; ++dy) {
      const int half = inner_disc[dy + reach];
      if (half < 0 || sy + dy < 0 || sy + dy >= rows) continue;
      if (index.LeastDepth(sy + dy, std::max(0, sx - half), std::min(columns - 1, sx + half)) <
          depth) {
        return true;
      }
    }
    return false;
  };
  for (int sy = 0; sy < rows; ++sy) {
    for (int sx = 0; sx < columns; ++sx) {
      const size_t at = static_cast<size_t>(sy) * columns + sx;
      if (depths[at] == RowIndex::kEmpty) continue;
      if (near_empty(sx, sy) || near_deeper(sx, sy, depths[at])) {
        samples_[at].colour = edge(samples_[at].colour);
      }
    }
  }
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
