// Median cut: split the widest box of colours at its median until there are
// enough boxes, then take each box's mean.
#include "art/palette.h"

#include <algorithm>
#include <limits>

namespace fq::art {
namespace {

using Box = std::vector<Rgb>;

int Channel(Rgb c, int axis) { return axis == 0 ? c.r : axis == 1 ? c.g : c.b; }

// The box's widest channel and how wide it is.
std::pair<int, int> WidestAxis(const Box& box) {
  std::pair<int, int> widest{0, -1};
  for (int axis = 0; axis < 3; ++axis) {
    const auto [lo, hi] = std::minmax_element(box.begin(), box.end(), [axis](Rgb a, Rgb b) {
      return Channel(a, axis) < Channel(b, axis);
    });
    const int range = Channel(*hi, axis) - Channel(*lo, axis);
    if (range > widest.second) widest = {axis, range};
  }
  return widest;
}

Rgb Mean(const Box& box) {
  long r = 0, g = 0, b = 0;
  for (Rgb c : box) {
    r += c.r;
    g += c.g;
    b += c.b;
  }
  const long n = static_cast<long>(box.size());
  return {static_cast<uint8_t>((r + n / 2) / n), static_cast<uint8_t>((g + n / 2) / n),
          static_cast<uint8_t>((b + n / 2) / n)};
}

}  // namespace

std::vector<Rgb> MedianCut(const std::vector<Rgb>& colours, int size) {
  std::vector<Box> boxes;
  if (!colours.empty()) boxes.push_back(colours);
  while (static_cast<int>(boxes.size()) < size) {
    // The box with the most spread, weighted by how many pixels it holds.
    long best_score = 0;
    size_t best = boxes.size();
    for (size_t i = 0; i < boxes.size(); ++i) {
      const long score = static_cast<long>(WidestAxis(boxes[i]).second) * static_cast<long>(boxes[i].size());
      if (boxes[i].size() > 1 && score > best_score) {
        best_score = score;
        best = i;
      }
    }
    if (best == boxes.size()) break;  // every box holds a single colour
    Box& box = boxes[best];
    const int axis = WidestAxis(box).first;
    std::stable_sort(box.begin(), box.end(),
                     [axis](Rgb a, Rgb b) { return Channel(a, axis) < Channel(b, axis); });
    const auto middle = box.begin() + static_cast<long>(box.size() / 2);
    Box upper(middle, box.end());
    box.erase(middle, box.end());
    boxes.push_back(std::move(upper));
  }
  std::vector<Rgb> palette;
  for (const Box& box : boxes) palette.push_back(Mean(box));
  return palette;
}

uint8_t Nearest(const std::vector<Rgb>& palette, Rgb colour) {
  int best = std::numeric_limits<int>::max();
  uint8_t index = 0;
  for (size_t i = 0; i < palette.size(); ++i) {
    const int dr = palette[i].r - colour.r;
    const int dg = palette[i].g - colour.g;
    const int db = palette[i].b - colour.b;
    const int d = 2 * dr * dr + 4 * dg * dg + 3 * db * db;  // the eye weighs green most
    if (d < best) {
      best = d;
      index = static_cast<uint8_t>(i);
    }
  }
  return index;
}

IndexedImage Reduced(const RgbImage& image) {
  const std::vector<Rgb> palette = MedianCut(image.pixels, 256);
  IndexedImage reduced{image.width, image.height, {}, {}};
  std::copy(palette.begin(), palette.end(), reduced.palette.begin());
  for (Rgb c : image.pixels) reduced.indices.push_back(Nearest(palette, c));
  return reduced;
}

IndexedImage Reduced(const RgbaImage& image, std::array<uint8_t, 256>& opacity) {
  constexpr int kEdgeColours = 12;  // per step of opacity; the edge is mostly outline
  const auto step = [](uint8_t a) { return std::min((a + 32) / 64, 4); };  // 0 to 4
  std::array<std::vector<Rgb>, 5> by_step;
  for (const Rgba& p : image.pixels) by_step[step(p.a)].push_back({p.r, p.g, p.b});
  IndexedImage reduced{image.width, image.height, {}, {}};
  opacity.fill(0);
  std::array<std::vector<Rgb>, 5> palettes;
  std::array<int, 5> first{};
  int next = 1;  // entry 0: transparent
  for (int s = 1; s <= 4; ++s) {
    palettes[s] = MedianCut(by_step[s], s == 4 ? 256 - next : kEdgeColours);
    first[s] = next;
    for (Rgb c : palettes[s]) {
      reduced.palette[next] = c;
      opacity[next++] = static_cast<uint8_t>(std::min(s * 64, 255));
    }
  }
  for (const Rgba& p : image.pixels) {
    const int s = step(p.a);
    reduced.indices.push_back(
        s == 0 ? 0 : static_cast<uint8_t>(first[s] + Nearest(palettes[s], {p.r, p.g, p.b})));
  }
  return reduced;
}

}  // namespace fq::art
