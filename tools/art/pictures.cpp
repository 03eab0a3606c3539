// Lays the quorlin out on the sheet, the logo and the icons, and turns the
// paintings into the pixels each picture format wants.
#include "art/pictures.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "animation/motion.h"
#include "animation/sheet_layout.h"
#include "art/palette.h"
#include "art/quorlin.h"

namespace fq::art {
namespace {

// One wing beat, frame 0 to 3. Played 0,1,2,3,2,1 it must read as up and down
// again, so the wings' on-screen reach is spaced evenly, and the body rises
// as the wings push down.
constexpr Pose kBeat[kSheetFrames] = {{84, -1}, {40, -0.5}, {0, 0.5}, {-44, 1}};

constexpr int kSpriteBox = kSpriteRight - kSpriteLeft + 1;
static_assert(kSpriteBox == kSpriteBottom - kSpriteTop + 1, "the sprite's box is square");

// Pixels covered less than this stay background, so stray specks of the
// smoothed edge never reach a mask or an icon.
constexpr double kSolid = 0.3;

// Scales and places `framing` as large as every pose fits its width and
// height with `margin` clear pixels around, at one place for all poses so that
// the body does not jump between frames.
Framing Fit(std::initializer_list<Pose> poses, Framing framing, double margin) {
  // Measure at one pixel per unit on a canvas the creature cannot leave.
  constexpr int kProbe = 80;
  Framing probe = framing;
  probe.width = probe.height = kProbe;
  probe.scale = 1;
  probe.centre = {kProbe / 2, kProbe / 2};
  double left = kProbe, top = kProbe, right = 0, bottom = 0;
  for (const Pose& pose : poses) {
    const Painting p = DrawQuorlin(pose, probe);
    for (int y = 0; y < kProbe; ++y) {
      for (int x = 0; x < kProbe; ++x) {
        if (p.coverage[static_cast<size_t>(y) * kProbe + x] == 0) continue;
        left = std::min<double>(left, x);
        top = std::min<double>(top, y);
        right = std::max<double>(right, x + 1);
        bottom = std::max<double>(bottom, y + 1);
      }
    }
  }
  framing.scale = std::min((framing.width - 2 * margin) / (right - left),
                           (framing.height - 2 * margin) / (bottom - top));
  const Vec2 middle = Vec2{(left + right) / 2, (top + bottom) / 2} - probe.centre;
  framing.centre = Vec2{framing.width / 2.0, framing.height / 2.0} - middle * framing.scale;
  return framing;
}

uint8_t Byte(double channel) {
  return static_cast<uint8_t>(std::lround(std::clamp(channel, 0.0, 1.0) * 255));
}

Rgb ToRgb(Colour c) { return {Byte(c.r), Byte(c.g), Byte(c.b)}; }

// A visible sprite pixel is never pure black: index 0 means "nothing here".
Rgb SpriteRgb(Colour c) {
  const Rgb rgb = ToRgb(c);
  return {std::max<uint8_t>(rgb.r, 1), std::max<uint8_t>(rgb.g, 1), std::max<uint8_t>(rgb.b, 1)};
}

// Indexes `painting`'s solid pixels over a palette whose entry 0 is black and
// whose entries from 1 up to `last` are made for these pixels. Background
// pixels get index 0.
struct Indexed {
  std::vector<Rgb> palette;
  std::vector<std::vector<uint8_t>> indices;  // one per painting
};

Indexed IndexPaintings(const std::vector<Painting>& paintings, int last) {
  std::vector<Rgb> used;
  for (const Painting& p : paintings) {
    for (size_t i = 0; i < p.colour.size(); ++i) {
      if (p.coverage[i] >= kSolid) used.push_back(SpriteRgb(p.colour[i]));
    }
  }
  // Entry 0 stays out of the search, so a dark pixel never turns into "nothing".
  const std::vector<Rgb> colours = MedianCut(used, last);
  Indexed result;
  result.palette.push_back(Rgb{0, 0, 0});
  result.palette.insert(result.palette.end(), colours.begin(), colours.end());
  for (const Painting& p : paintings) {
    std::vector<uint8_t> indices(p.colour.size(), 0);
    for (size_t i = 0; i < p.colour.size(); ++i) {
      if (p.coverage[i] >= kSolid) indices[i] = 1 + Nearest(colours, SpriteRgb(p.colour[i]));
    }
    result.indices.push_back(std::move(indices));
  }
  return result;
}

void FillPalette(std::array<Rgb, 256>& palette, const std::vector<Rgb>& entries) {
  palette.fill(Rgb{255, 255, 255});  // spare entries stay white, never black
  std::copy(entries.begin(), entries.end(), palette.begin());
}

}  // namespace

IndexedImage DrawSpriteSheet(int scale) {
  // Every length of the 1x sheet times `scale`, the outline included, so the
  // creature keeps its shape and only gains pixels.
  const int box = kSpriteBox * scale;
  const int width = kSheetWidth * scale;
  const int height = kSheetHeight * scale;
  const int mask_row = kSheetMaskRowY * scale;
  const Framing framing = Fit({kBeat[0], kBeat[1], kBeat[2], kBeat[3]},
                              {.width = box, .height = box, .edge = 1.0 * scale}, 3.0 * scale);
  std::vector<Painting> frames;
  for (const Pose& pose : kBeat) frames.push_back(DrawQuorlin(pose, framing));
  const Indexed indexed = IndexPaintings(frames, kSheetWhiteIndex - 1);

  IndexedImage sheet;
  sheet.width = width;
  sheet.height = height;
  FillPalette(sheet.palette, indexed.palette);
  sheet.palette[kSheetWhiteIndex] = {255, 255, 255};
  sheet.indices.assign(static_cast<size_t>(width) * height, kSheetBlackIndex);
  for (int y = mask_row; y < height; ++y) {
    std::fill_n(sheet.indices.begin() + static_cast<long>(y) * width, width,
                static_cast<uint8_t>(kSheetWhiteIndex));
  }
  for (int k = 0; k < kSheetFrames; ++k) {
    for (int y = 0; y < box; ++y) {
      for (int x = 0; x < box; ++x) {
        const uint8_t index = indexed.indices[k][static_cast<size_t>(y) * box + x];
        if (index == kSheetBlackIndex) continue;
        const int sheet_x = (k * kSheetCell + kSpriteLeft) * scale + x;
        const int sheet_y = kSpriteTop * scale + y;
        sheet.indices[static_cast<size_t>(sheet_y) * width + sheet_x] = index;
        sheet.indices[static_cast<size_t>(sheet_y + mask_row) * width + sheet_x] =
            kSheetBlackIndex;
      }
    }
  }
  return sheet;
}

RgbImage DrawLogo(int scale) {
  const Framing framing{.width = kLogoWidth * scale, .height = kLogoHeight * scale,
                        .edge = 1.1 * scale};
  const Painting painting = DrawQuorlin(kBeat[0], Fit({kBeat[0]}, framing, 2.0 * scale));
  RgbImage logo{painting.width, painting.height, {}};
  for (const Colour& c : painting.colour) logo.pixels.push_back(ToRgb(c));
  return logo;
}

namespace {

Painting IconPainting(int size) {
  // Below 32 pixels the tail, feelers and mouth would only smear the outline,
  // and level wings leave the most room for the face. The outline grows with
  // the icon from 32 pixels up, as the creature's shapes do.
  const bool large = size >= 32;
  const Pose& pose = large ? kBeat[1] : kBeat[2];
  const Framing framing{
      .width = size, .height = size, .edge = std::max(1.0, size / 32.0), .fine_parts = large};
  return DrawQuorlin(pose, Fit({pose}, framing, 0));
}

}  // namespace

IconImage DrawIcon(int size) {
  const Indexed indexed = IndexPaintings({IconPainting(size)}, 255);
  IconImage icon;
  icon.colours.width = size;
  icon.colours.height = size;
  FillPalette(icon.colours.palette, indexed.palette);
  icon.colours.indices = indexed.indices[0];
  for (uint8_t index : icon.colours.indices) icon.transparent.push_back(index == 0);
  return icon;
}

RgbaImage DrawTrueColourIcon(int size) {
  const Painting painting = IconPainting(size);
  RgbaImage icon{size, size, {}};
  for (size_t i = 0; i < painting.colour.size(); ++i) {
    const double coverage = painting.coverage[i];
    // The painting is premultiplied over black; the icon's colour is not.
    const Colour c = coverage > 0 ? painting.colour[i] * (1 / coverage) : Colour{};
    const Rgb rgb = ToRgb(c);
    icon.pixels.push_back({rgb.r, rgb.g, rgb.b, Byte(coverage)});
  }
  return icon;
}

}  // namespace fq::art
