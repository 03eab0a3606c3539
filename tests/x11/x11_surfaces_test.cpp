// The X11 surfaces against the in-memory platform's exact SRCCOPY, SRCAND and SRCPAINT: the
// same seed and frames leave the same pixels in the window and in every pixmap. The sheet holds
// random bits, so GXand and GXor meet every bit pattern the committed sheet's pixels hold.
// CleanScreen, which only ever holds black, has no pixmap on the server.
#include <gtest/gtest.h>

#include <random>

#include "animation/random_source.h"
#include "fake/scene_fixture.h"
#include "x11_platform.h"
#include "xvfb_screen.h"

// After Xlib, which x11_platform.h includes last.
#include <X11/extensions/XRes.h>

namespace fq::x11 {
namespace {

constexpr float kSeed = 40321.25f;
constexpr Extent kStage{360, 240};  // small, so that sprites cross the edges and overlap often
constexpr int kFrames = 400;

// The program's generator, started from one seed rather than the clock.
struct SeededRandom : LcgRandom {
  void Reseed(float) override { LcgRandom::Reseed(kSeed); }
};

TEST(X11Surfaces, MatchTheInMemoryPlatformPixelForPixel) {
  Picture sheet = DecodeBmp(EmbeddedSpriteSheet(1));
  std::mt19937 bits(7);
  for (uint32_t& pixel : sheet.pixels) pixel = bits() & 0xFFFFFF;
  SceneOnFake<SeededRandom> expected(8, kStage);
  expected.platform.sheet = fake::Pixels(sheet.width, sheet.height);
  expected.platform.sheet.data = sheet.pixels;
  expected.SetUp();

  XvfbScreen screen(kStage.width, kStage.height);
  const Window window = XCreateSimpleWindow(screen.display(), screen.root(), 0, 0, kStage.width,
                                            kStage.height, 0, 0, 0);
  XMapWindow(screen.display(), window);
  X11Platform platform(*screen.display(), window, sheet);
  SeededRandom random;
  Scene scene(platform, platform, platform, platform, expected.settings, random);
  // A given window sends no input, so the fake's saver form may take the events.
  platform.LoadSaverWindow(kSaverDesign, expected.frmSaver);
  scene.SetUpScene();
  for (int frame = 0; frame < kFrames; ++frame) {
    scene.FrameStep();
    expected.scene.FrameStep();
  }
  // CleanScreen has no pixmap to read: the copies from it are checked where they land.
  for (const SurfaceId id : {SurfaceId::SaverWindow, SurfaceId::WorkScr, SurfaceId::Master}) {
    const fake::Pixels& want = expected.platform.surface(id);
    EXPECT_EQ(fake::Difference(screen.Read(platform.DrawableOf(id), want.width, want.height), want), "")
        << "surface " << static_cast<int>(id);
  }
  // CleanScreen only ever holds black: the server keeps Master and WorkScr, 32 bits a pixel
  // at depth 24, and no pixmap for it.
  unsigned long bytes = 0;
  ASSERT_TRUE(XResQueryClientPixmapBytes(screen.display(), window, &bytes));
  EXPECT_EQ(bytes, 4ul * (sheet.width * sheet.height + kStage.width * kStage.height));
}

}  // namespace
}  // namespace fq::x11
