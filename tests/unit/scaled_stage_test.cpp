// The scene on a dense screen: through the scaling adapter, a run at k = 2 or 3 puts on the
// screen exactly the k = 1 run's picture, each pixel k by k, and the pointer rule counts the
// core's pixels. And a saver window that the system resizes gets a fresh scene.
#include <gtest/gtest.h>

#include "animation/random_source.h"
#include "fake/scene_fixture.h"
#include "fake/test_pictures.h"
#include "platform/screen_scale.h"

namespace fq {
namespace {

using fake::Enlarged;
using fake::PatternedSheet;
using fake::Pixels;

// Six sprites on a screen of `physical` pixels at scale k, stepped `frames` times.
struct ScaledRun : SceneOnFake<LcgRandom> {
  ScaledRun(int k, Extent physical, int frames) : SceneOnFake(6, physical, 25, k) {
    platform.sheet = Enlarged(PatternedSheet(), k);
    platform.seconds_since_midnight = 40321.25f;
    SetUp();
    for (int i = 0; i < frames; ++i) scene.FrameStep();
  }
};

// The Win32 port's k from the primary's DPI; the X11 hack's from its stage's size.
TEST(ScaledStage, KFollowsTheDpiOrTheStagesSize) {
  for (const auto& [dpi, k] : {std::pair{96, 1}, {143, 1}, {144, 2}, {287, 2}, {288, 3}}) {
    EXPECT_EQ(ScaleForDpi(dpi), k) << dpi << " dpi";
  }
  EXPECT_EQ(ScaleForWindow(2560, 1600), 1);
  EXPECT_EQ(ScaleForWindow(2561, 1080), 2);
  EXPECT_EQ(ScaleForWindow(1920, 1601), 2);
}

TEST(ScaledStage, AtScaleKTheScreenIsTheScaleOneScreenWithEveryPixelKByK) {
  constexpr int kFrames = 120;  // enough for re-entries at both edges
  ScaledRun plain(1, {320, 180}, kFrames);
  const Pixels& expected = plain.platform.surface(SurfaceId::SaverWindow);
  const struct {
    int k;
    Extent physical;  // not always a multiple of k: the rest stays black
  } cases[] = {{2, {640, 360}}, {2, {641, 361}}, {3, {962, 542}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "k " << c.k << ", width " << c.physical.width);
    ScaledRun scaled(c.k, c.physical, kFrames);
    EXPECT_EQ(scaled.scene.ScreenW(), 320);
    EXPECT_EQ(scaled.scene.ScreenH(), 180);
    Pixels wanted(c.physical.width, c.physical.height, 0);
    fake::Blit(wanted, 0, 0, 320 * c.k, 180 * c.k, Enlarged(expected, c.k), 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(fake::Difference(scaled.platform.surface(SurfaceId::SaverWindow), wanted), "");
    const Pixels& work = scaled.platform.surface(SurfaceId::WorkScr);
    EXPECT_EQ(work.width, 320 * c.k) << "the back buffer is the core's screen, times k";
    EXPECT_EQ(work.height, 180 * c.k);
  }
}

// The port reports physical pixels; the rule sees the core's, rounded down: at k = 2 the
// 20-pixel tolerance is 40 physical pixels, and a position the system chose is a resting point.
TEST(ScaledStage, PointerPositionsReachTheCoreDividedByK) {
  const struct {
    float placed_x, placed_y;  // where the system put the pointer, physical
    float x, y;                // the next move, physical
    bool ends;
  } cases[] = {
      {201, 201, 241, 241, false},  // 100 -> 120: 20 core pixels
      {201, 201, 242, 242, true},   // 100 -> 121
      {201, 201, 160, 160, false},  // 100 -> 80
      {201, 201, 159, 159, true},   // 100 -> 79
      {-3, -3, 36, 36, false},      // -2 -> 18, left of and above the primary
      {-3, -3, 38, 38, true},       // -2 -> 19
  };
  for (const auto& c : cases) {
    ScaledRun run(2, {640, 360}, 0);
    SaverEvents& port_events = *run.platform.saver_events;
    port_events.MouseMove(0, 0, 600, 300);
    port_events.PointerPlaced(c.placed_x, c.placed_y);
    bool ended = false;
    try {
      port_events.MouseMove(0, 0, c.x, c.y);
    } catch (const fake::ProcessEnded&) {
      ended = true;
    }
    EXPECT_EQ(ended, c.ends) << "from " << c.placed_x << " to " << c.x;
  }
}

// The system resizes the saver window during a yield or a pause (its monitor was re-moded):
// before the next frame the scene measures it again and places every sprite anew over the
// whole of it.
TEST(Restage, AResizedSaverWindowGetsSurfacesOfItsSizeAndSpritesPlacedAcrossIt) {
  const struct {
    Extent before, after;
    bool in_pause;
  } cases[] = {{{640, 480}, {1600, 900}, false},
               {{1600, 900}, {640, 480}, false},
               {{640, 480}, {1600, 900}, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in_pause ? "resized in the pause" : "resized in the yield");
    SceneOnFake<LcgRandom> run(30, c.before);
    run.SetUp();
    int yields = 0;
    const auto resize = [&] {
      run.platform.screen = c.after;
      run.platform.SetSaverOuterSize(c.after);
    };
    run.platform.on_yield = [&] {
      if (++yields == 3 && !c.in_pause) resize();
      if (yields == 4) throw fake::ProcessEnded();
    };
    run.platform.on_pause = [&] {
      if (yields == 3 && c.in_pause) resize();
    };
    try {
      run.scene.FrameLoop();
    } catch (const fake::ProcessEnded&) {
    }
    const Extent after = c.after;
    EXPECT_EQ(run.scene.ScreenW(), after.width);
    EXPECT_EQ(run.scene.ScreenH(), after.height);
    for (SurfaceId id : {SurfaceId::WorkScr, SurfaceId::CleanScreen}) {
      EXPECT_EQ(run.platform.surface(id).width, after.width);
      EXPECT_EQ(run.platform.surface(id).height, after.height);
    }
    int in_gained_part = 0;
    for (int i = 0; i < 30; ++i) {
      const Sprite& sprite = run.sprite(i);
      // One frame has moved each sprite since it was placed.
      EXPECT_LE(sprite.X, after.width + 3) << "sprite " << i;
      EXPECT_LE(sprite.Y, after.height + 1) << "sprite " << i;
      in_gained_part += sprite.X > c.before.width || sprite.Y > c.before.height;
    }
    if (after.width > c.before.width) {
      EXPECT_GT(in_gained_part, 0) << "the flock uses the gain";
    }
    EXPECT_EQ(run.platform.Count("RepaintSaver"), 2) << "the new size starts black";
  }
}

}  // namespace
}  // namespace fq
