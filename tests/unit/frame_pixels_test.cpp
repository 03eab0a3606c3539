// What the frame step leaves on the screen, pixel by pixel, on the fake platform's exact
// surfaces: after many frames with re-entries and overlaps, the screen and the back buffer
// hold exactly a fresh composition of the sprites where they are now, with no trail; and a
// frame over stale pixels erases and presents every sprite's whole cell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "animation/random_source.h"
#include "animation/motion.h"
#include "animation/sheet_layout.h"
#include "fake/scene_fixture.h"

namespace fq {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// A sheet with the real layout and simple rules: frame k is a diamond of radius 30 - 4k
// whose colours encode k and the cell position; its mask is the same diamond in black. The
// 10-pixel strips that are never drawn carry loud marks, so drawing them would show.
fake::Pixels SyntheticSheet() {
  fake::Pixels sheet(kSheetWidth, kSheetHeight, 0);
  for (int k = 0; k < kSheetFrames; ++k) {
    for (int y = 0; y < kSheetCell; ++y) {
      for (int x = 0; x < kSheetCell && k * kSheetCell + x < kSheetWidth; ++x) {
        const bool undrawn = x >= kSheetDrawnBlock || y >= kSheetDrawnBlock;
        const bool inside = std::abs(x - 63) + std::abs(y - 64) <= 30 - 4 * k;
        const uint32_t frame = inside ? (uint32_t(k + 1) << 20) | (uint32_t(y) << 8) | uint32_t(x) : 0;
        sheet.at(k * kSheetCell + x, y) = undrawn ? kWhite : frame;
        sheet.at(k * kSheetCell + x, kSheetMaskRowY + y) = undrawn || inside ? 0 : kWhite;
      }
    }
  }
  return sheet;
}

// Every sprite in index order, stamped through its mask at its current place with its current
// frame: the screen as it should look when `onto` is black. Written from the rule, not with
// Blit.
void Stamp(fake::Pixels& onto, const SceneOnFake<LcgRandom>& run) {
  const fake::Pixels& sheet = run.platform.sheet;
  for (int i = 0; i < run.settings.Count; ++i) {
    const Sprite& sprite = run.scene.Sprites()[i];
    const int k = sprite.Frame;
    for (int dy = 0; dy < kSheetDrawnBlock; ++dy) {
      for (int dx = 0; dx < kSheetDrawnBlock; ++dx) {
        const int x = sprite.X + dx;
        const int y = sprite.Y + dy;
        if (x < 0 || y < 0 || x >= onto.width || y >= onto.height) continue;
        uint32_t& pixel = onto.at(x, y);
        pixel = (pixel & sheet.at(k * kSheetCell + dx, kSheetMaskRowY + dy)) |
                sheet.at(k * kSheetCell + dx, dy);
      }
    }
  }
}

// Calls `visit(x, y)` for every pixel of `on` inside the whole 128-pixel cell of a sprite
// where it is now.
template <typename Visit>
void InCells(const SceneOnFake<LcgRandom>& run, const fake::Pixels& on, Visit visit) {
  for (int i = 0; i < run.settings.Count; ++i) {
    const Sprite& sprite = run.scene.Sprites()[i];
    for (int y = std::max<int>(sprite.Y, 0); y < std::min(sprite.Y + kSheetCell, on.height); ++y) {
      for (int x = std::max<int>(sprite.X, 0); x < std::min(sprite.X + kSheetCell, on.width); ++x) {
        visit(x, y);
      }
    }
  }
}

bool SomeSpritesOverlap(const Scene& scene, int count) {
  for (int i = 0; i < count; ++i) {
    for (int j = i + 1; j < count; ++j) {
      const Sprite& a = scene.Sprites()[i];
      const Sprite& b = scene.Sprites()[j];
      if (std::abs(a.X - b.X) < 64 && std::abs(a.Y - b.Y) < 64) return true;
    }
  }
  return false;
}

// Many frames on a small screen, so that sprites cross the edges and re-enter often; the
// program's own generator decides where they come back and how fast.
TEST(FramePixels, AfterManyFramesTheScreenIsAFreshCompositionWithNoTrailAndCellsGoWhole) {
  SceneOnFake<LcgRandom> run(8, {360, 240});
  run.platform.sheet = SyntheticSheet();
  run.platform.seconds_since_midnight = 51234.5f;
  run.SetUp();
  int re_entries = 0;
  bool overlapped = false;
  for (int step = 1; step <= 600; ++step) {
    const int16_t x_before = run.sprite(0).X;
    run.scene.FrameStep();
    re_entries += run.sprite(0).X < x_before;
    overlapped = SomeSpritesOverlap(run.scene, 8);
    for (int i = 0; i < 8; ++i) ASSERT_LE(run.sprite(i).SpeedX, kSpriteLeft) << "step " << step;
  }
  ASSERT_GE(re_entries, 2) << "the run should include re-entries";
  ASSERT_TRUE(overlapped) << "the last frame should hold overlapping sprites";
  fake::Pixels expected(run.platform.screen.width, run.platform.screen.height, 0);
  Stamp(expected, run);
  EXPECT_EQ(fake::Difference(run.platform.surface(SurfaceId::SaverWindow), expected), "")
      << "screen";
  EXPECT_EQ(fake::Difference(run.platform.surface(SurfaceId::WorkScr), expected), "")
      << "back buffer";

  // Whatever the surfaces hold, a frame erases each sprite's whole old cell from the back
  // buffer and presents its whole new cell, the margins the sprites leave included.
  constexpr uint32_t kStale = 0xFF00FF;
  fake::Pixels back(expected.width, expected.height, kStale);
  run.platform.surface(SurfaceId::WorkScr) = back;
  run.platform.surface(SurfaceId::SaverWindow) = back;
  InCells(run, back, [&](int x, int y) { back.at(x, y) = 0; });
  run.scene.FrameStep();
  Stamp(back, run);
  fake::Pixels screen(expected.width, expected.height, kStale);
  InCells(run, screen, [&](int x, int y) { screen.at(x, y) = back.at(x, y); });
  EXPECT_EQ(fake::Difference(run.platform.surface(SurfaceId::WorkScr), back), "")
      << "back buffer after a frame over stale pixels";
  EXPECT_EQ(fake::Difference(run.platform.surface(SurfaceId::SaverWindow), screen), "")
      << "screen after a frame over stale pixels";
}

}  // namespace
}  // namespace fq
