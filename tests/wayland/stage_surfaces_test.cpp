// The Wayland port's surfaces against the in-memory platform's exact SRCCOPY, SRCAND and
// SRCPAINT: the same seed and frames leave the same pixels in the frame and in WorkScr, and
// every pixel a frame changes lies in the damage it announces (the compositor redraws no
// other). The sheet holds random bits, so AND and OR meet every bit pattern. Then what
// --when-idle decides without a connection: its value, and the source of idleness.
#include <gtest/gtest.h>

#include <random>

#include "animation/random_source.h"
#include "fake/scene_fixture.h"
#include "idle_watch.h"
#include "ports/unix/saver_options.h"
#include "ports/unix/embedded_sheets.h"
#include "stage_surfaces.h"

namespace fq::wayland {
namespace {

constexpr Extent kStage{360, 240};  // small, so that sprites cross the edges and overlap often
constexpr int kFrames = 400;

// The frame in plain memory, with the damage announced since the last look.
struct MemoryFrame final : Frame {
  fake::Pixels pixels{kStage.width, kStage.height};
  std::vector<PixelRect> damage;
  PixelView Drawing() override { return {pixels.data.data(), pixels.width, pixels.height}; }
  void Damage(PixelRect rect) override { damage.push_back(rect); }
};

bool Inside(const std::vector<PixelRect>& rects, int32_t x, int32_t y) {
  for (const PixelRect& r : rects) {
    if (x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height) return true;
  }
  return false;
}

TEST(WaylandSurfaces, MatchTheInMemoryPlatformAndDamageAllTheyChange) {
  Picture sheet = EmbeddedSheet(1);
  std::mt19937 bits(7);
  for (uint32_t& pixel : sheet.pixels) pixel = bits() & 0xFFFFFF;
  SceneOnFake<SeededRandom> expected(8, kStage);
  expected.platform.sheet = fake::Pixels(sheet.width, sheet.height);
  expected.platform.sheet.data = sheet.pixels;
  expected.SetUp();

  // The window, the other monitors (none) and the pacing stay the fake's; the drawing is the port's.
  fake::FakePlatform output;
  output.screen = kStage;
  MemoryFrame frame;
  StageSurfaces pixels(frame, [&]() -> const Picture& { return sheet; });
  SeededRandom random;
  Scene scene(output, pixels, output, output, expected.settings, random);
  output.LoadSaverWindow(kSaverDesign, expected.frmSaver);
  output.SetSaverOuterSize(kStage);
  scene.SetUpScene();
  int undamaged = 0;
  for (int step = 0; step < kFrames; ++step) {
    const fake::Pixels before = frame.pixels;
    frame.damage.clear();
    scene.FrameStep();
    expected.scene.FrameStep();
    for (int32_t y = 0; y < kStage.height; ++y) {
      for (int32_t x = 0; x < kStage.width; ++x) {
        undamaged += frame.pixels.at(x, y) != before.at(x, y) && !Inside(frame.damage, x, y);
      }
    }
  }
  EXPECT_EQ(undamaged, 0) << "pixels changed outside the damage";
  EXPECT_EQ(fake::Difference(frame.pixels, expected.platform.surface(SurfaceId::SaverWindow)), "");
  // WorkScr is read back through the frame.
  const fake::Pixels& work = expected.platform.surface(SurfaceId::WorkScr);
  ASSERT_EQ(work.width, kStage.width);
  ASSERT_EQ(work.height, kStage.height);
  pixels.BitBlt(SurfaceId::SaverWindow, 0, 0, work.width, work.height, SurfaceId::WorkScr, 0, 0,
                RasterOp::SrcCopy);
  EXPECT_EQ(fake::Difference(frame.pixels, work), "") << "WorkScr";
}

TEST(WhenIdle, TakesWholeSecondsFromOneToADay) {
  for (const auto& [text, seconds] : std::vector<std::pair<std::string_view, uint32_t>>{
           {"1", 1}, {"600", 600}, {"86400", 86400}, {"0", 0}, {"86401", 0}, {"4294967296", 0},
           {"-5", 0}, {"+5", 0}, {"1.5", 0}, {"5s", 0}, {" 5", 0}, {"", 0}}) {
    if (seconds) {
      EXPECT_EQ(ReadIdleSeconds(text), seconds) << text;
    } else {
      EXPECT_THROW(ReadIdleSeconds(text), OptionError) << text;
    }
  }
}

// The compositor's notifiers need its seat; GNOME's monitor is asked only when they fail.
TEST(WhenIdle, TakesTheBestSourceOfIdlenessOffered) {
  using enum IdleSource;
  const std::string seat = "wl_seat", ext = "ext_idle_notifier_v1", kde = "org_kde_kwin_idle";
  for (const auto& [offered, mutter, expected, asked] :
       std::vector<std::tuple<std::vector<std::string>, bool, IdleSource, bool>>{
           {{seat, kde, ext}, true, kIdleNotifier, false},
           {{kde, seat}, true, kKdeIdle, false},
           {{ext, kde}, true, kMutterMonitor, true},
           {{seat, "xdg_wm_base"}, true, kMutterMonitor, true},
           {{seat, ext, kde}, false, kIdleNotifier, false},
           {{ext}, false, kNone, true}}) {
    std::vector<Global> globals;
    for (const std::string& interface : offered) globals.push_back({interface});
    bool was_asked = false;
    EXPECT_EQ(ChooseIdleSource(globals, [&, mutter = mutter] { return was_asked = true, mutter; }),
              expected) << offered.size() << " globals, then " << offered.back();
    EXPECT_EQ(was_asked, asked) << offered.back();
  }
}

}  // namespace
}  // namespace fq::wayland
