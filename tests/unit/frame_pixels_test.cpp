// What the frame step leaves on the screen, pixel by pixel, on the fake platform's exact
// surfaces: a sprite over black, overlapping sprites, and no trail after many frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "animation/random_source.h"
#include "animation/sheet_layout.h"
#include "resources/art/pictures.h"
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
        uint32_t frame = inside ? (uint32_t(k + 1) << 20) | (uint32_t(y) << 8) | uint32_t(x) : 0;
        uint32_t mask = inside ? 0 : kWhite;
        if (undrawn) {
          frame = kWhite;
          mask = 0;
        }
        sheet.at(k * kSheetCell + x, y) = frame;
        sheet.at(k * kSheetCell + x, kSheetMaskRowY + y) = mask;
      }
    }
  }
  return sheet;
}

// The program's own sheet, in the fake's pixel format.
fake::Pixels RealSheet() {
  const art::IndexedImage sheet = art::DrawSpriteSheet();
  fake::Pixels pixels(sheet.width, sheet.height);
  for (int y = 0; y < sheet.height; ++y) {
    for (int x = 0; x < sheet.width; ++x) {
      const art::Rgb colour = sheet.palette[sheet.at(x, y)];
      pixels.at(x, y) = uint32_t(colour.r) << 16 | uint32_t(colour.g) << 8 | colour.b;
    }
  }
  return pixels;
}

// The screen as it should look: black, then every sprite in index order, stamped through its
// mask at its current place with its current frame. Written from the rule, not with Blit.
fake::Pixels FreshComposition(const fake::Pixels& sheet, Extent screen_size, const Scene& scene,
                              int16_t count) {
  fake::Pixels screen(screen_size.width, screen_size.height, 0);
  for (int i = 0; i < SpritesInScene(count); ++i) {
    const Sprite& sprite = scene.Sprites()[i];
    const int k = sprite.Frame;
    for (int dy = 0; dy < kSheetDrawnBlock; ++dy) {
      for (int dx = 0; dx < kSheetDrawnBlock; ++dx) {
        const int x = sprite.X + dx;
        const int y = sprite.Y + dy;
        if (x < 0 || y < 0 || x >= screen.width || y >= screen.height) continue;
        uint32_t& pixel = screen.at(x, y);
        pixel = (pixel & sheet.at(k * kSheetCell + dx, kSheetMaskRowY + dy)) |
                sheet.at(k * kSheetCell + dx, dy);
      }
    }
  }
  return screen;
}

fake::Pixels FreshComposition(const SceneOnFake<>& run) {
  return FreshComposition(run.platform.sheet, run.platform.screen, run.scene, run.settings.Count);
}

// Empty when equal; otherwise the first difference and how many pixels differ.
std::string Difference(const fake::Pixels& actual, const fake::Pixels& expected) {
  if (actual.width != expected.width || actual.height != expected.height) return "sizes differ";
  int differing = 0;
  std::string first;
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      if (actual.at(x, y) == expected.at(x, y)) continue;
      if (differing++ == 0) {
        first = "at " + std::to_string(x) + ", " + std::to_string(y) + ": " +
                std::to_string(actual.at(x, y)) + " instead of " +
                std::to_string(expected.at(x, y));
      }
    }
  }
  return differing == 0 ? "" : std::to_string(differing) + " pixels differ, first " + first;
}

TEST(FramePixels, ASpriteOverBlackShowsItsFramePixelsUnchanged) {
  SceneOnFake<> run(1, {400, 300});
  run.platform.sheet = SyntheticSheet();
  run.random.Script({0.25f, 0.5f});  // placed at 100, 150
  run.SetUp();
  // Stale grey on the screen: presenting must replace the whole 128-pixel cell.
  fake::Pixels& window = run.platform.surface(SurfaceId::SaverWindow);
  std::fill(window.data.begin(), window.data.end(), 0x404040u);
  for (int step = 1; step <= 6; ++step) run.scene.FrameStep();
  const Sprite& sprite = run.scene.Sprites()[0];
  ASSERT_EQ(sprite.Frame, 1) << "step 6 draws frame 1";
  ASSERT_EQ(sprite.X, 100 + 6 * 3);
  for (int dy = 0; dy < kSheetCell; ++dy) {
    for (int dx = 0; dx < kSheetCell; ++dx) {
      const bool drawn = dx < kSheetDrawnBlock && dy < kSheetDrawnBlock;
      const uint32_t expected = drawn ? run.platform.sheet.at(kSheetCell + dx, dy) : 0;
      ASSERT_EQ(window.at(sprite.X + dx, sprite.Y + dy), expected) << "cell pixel " << dx << ", " << dy;
    }
  }
}

TEST(FramePixels, TheHigherIndexCoversTheLowerAlongItsSilhouetteOnly) {
  SceneOnFake<> run(2, {400, 300});
  run.platform.sheet = SyntheticSheet();
  run.SetUp();
  run.scene.Sprites()[0].X = 100;
  run.scene.Sprites()[0].Y = 100;
  run.scene.Sprites()[1].X = 112;
  run.scene.Sprites()[1].Y = 96;
  run.scene.FrameStep();
  const fake::Pixels& window = run.platform.surface(SurfaceId::SaverWindow);
  // Diamond centres: sprite 0 at (166, 165), sprite 1 at (178, 161) after the move.
  EXPECT_EQ(window.at(178, 161), run.platform.sheet.at(63, 64)) << "sprite 1 on top";
  EXPECT_EQ(window.at(140, 165), run.platform.sheet.at(140 - 103, 165 - 101))
      << "sprite 0 shows through inside sprite 1's square, outside its silhouette";
  EXPECT_EQ(Difference(window, FreshComposition(run)), "");
  EXPECT_EQ(Difference(run.platform.surface(SurfaceId::WorkScr), FreshComposition(run)), "");
}

// Many frames on a small screen, so that sprites cross the edges and re-enter often; the
// program's own generator decides where they come back and how fast.
void ExpectNoTrailAfterManyFrames(const fake::Pixels& sheet) {
  SceneOnFake<LcgRandom> run(8, {360, 240});
  run.platform.sheet = sheet;
  run.platform.seconds_since_midnight = 51234.5f;
  run.SetUp();
  const Scene& scene = run.scene;
  int re_entries = 0;
  for (int step = 1; step <= 600; ++step) {
    const int16_t x_before = scene.Sprites()[0].X;
    run.scene.FrameStep();
    if (scene.Sprites()[0].X < x_before) ++re_entries;
    for (int i = 0; i < run.settings.Count; ++i) {
      ASSERT_LE(scene.Sprites()[i].SpeedX, 31) << "step " << step << ", sprite " << i;
    }
  }
  ASSERT_GE(re_entries, 2) << "the run should include re-entries";
  EXPECT_EQ(Difference(run.platform.surface(SurfaceId::SaverWindow),
                       FreshComposition(sheet, run.platform.screen, scene, run.settings.Count)),
            "");
}

TEST(FramePixels, AfterManyFramesTheScreenIsAFreshCompositionWithNoTrail) {
  ExpectNoTrailAfterManyFrames(SyntheticSheet());
}

TEST(FramePixels, TheProgramsOwnSheetLeavesNoTrailEither) {
  ExpectNoTrailAfterManyFrames(RealSheet());
}

}  // namespace
}  // namespace fq
