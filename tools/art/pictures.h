// The program's pictures as pixels in memory: the sprite sheet and the
// dialog's logo at each scale and the icon images, all of the same quorlin.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fq::art {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(Rgb, Rgb) = default;
};

// Pixels row by row from the top-left corner.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::array<Rgb, 256> palette{};
  std::vector<uint8_t> indices;
  uint8_t at(int x, int y) const { return indices[static_cast<size_t>(y) * width + x]; }
};

struct Rgba {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 0;  // 0 transparent to 255 opaque; the colour is not premultiplied
};

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;
};

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
};

// An icon image: colours, and the pixels where the desktop shows through
// (there the colour is index 0, black, as icons need).
struct IconImage {
  IndexedImage colours;
  std::vector<bool> transparent;
};

// The sprite sheet as animation/sheet_layout.h lays it out, every length
// times `scale` (1 to kMaxScale): four frames of one wing beat above their
// masks. Palette entry 0 is black and 255 white; no other entry is black.
IndexedImage DrawSpriteSheet(int scale);

// The settings dialog's logo on black, 76 by 64 pixels times `scale`.
inline constexpr int kLogoWidth = 76;
inline constexpr int kLogoHeight = 64;
RgbImage DrawLogo(int scale);

// `size` by `size` pixels (16, 32 or 48), 8 bits per pixel.
IconImage DrawIcon(int size);

// `size` by `size` pixels with smooth edges, for the largest icon.
RgbaImage DrawTrueColourIcon(int size);

}  // namespace fq::art
