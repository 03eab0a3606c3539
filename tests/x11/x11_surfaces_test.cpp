// The X11 surfaces against the in-memory platform's exact SRCCOPY, SRCAND and SRCPAINT: the
// same seed and frames leave the same pixels in the window and in every pixmap, on a window it
// is given and on each monitor of a root window that RandR splits, where k differs by monitor
// and no monitor's blits reach its neighbour. The sheet holds random bits, so GXand and GXor
// meet every bit pattern the committed sheet's pixels hold. CleanScreen, which only ever holds
// black, has no pixmap on the server, and a sheet's pixmap is shared by the monitors of its k.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "animation/random_source.h"
#include "fake/scene_fixture.h"
#include "fake/test_pictures.h"
#include "platform/screen_scale.h"
#include "x11_platform.h"
#include "xvfb_screen.h"

// After Xlib, which x11_platform.h includes last.
#include <X11/extensions/XRes.h>

namespace fq::x11 {
namespace {

constexpr Extent kStage{360, 240};  // small, so that sprites cross the edges and overlap often
constexpr int kFrames = 400;

// The platform's yield on the fake's clock, so that the other monitors' flocks are seeded as
// there; the frame loop ends at the yield after `frames`.
struct SameClock : Pacing {
  explicit SameClock(X11Platform& x11) : platform(x11) {}
  X11Platform& platform;
  int frames = 0;
  void YieldToMessageLoop() override {
    platform.YieldToMessageLoop();
    if (--frames == 0) throw fake::ProcessEnded();
  }
  void Pause(int32_t) override {}
  float SecondsSinceMidnight() override { return kTestSeed; }
};

Picture AsPicture(const fake::Pixels& pixels) { return {pixels.width, pixels.height, pixels.data}; }

TEST(X11Surfaces, MatchTheInMemoryPlatformPixelForPixelOnEveryMonitor) {
  std::mt19937 bits(7);
  fake::Pixels sheet(kSheetWidth, kSheetHeight);
  for (uint32_t& pixel : sheet.data) pixel = bits() & 0xFFFFFF;
  constexpr PixelRect kPrimary{0, 0, kStage.width, kStage.height};
  const struct {
    const char* stage;
    Extent screen;
    std::vector<PixelRect> monitors;  // the primary first; the last root's at k = 2
  } cases[] = {
      {"a window it is given", kStage, {kPrimary}},
      {"the root window", {1060, 1700}, {kPrimary, {360, 0, 300, 200}, {660, 0, 400, 1700}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stage);
    std::vector<PixelRect> stages = c.monitors;
    SceneOnFake<SeededRandom> expected(8, kStage);
    expected.platform.sheet = sheet;
    expected.platform.seconds_since_midnight = kTestSeed;
    for (size_t i = 1; i < stages.size(); ++i) {
      const int k = ScaleForWindow(stages[i].width, stages[i].height);
      expected.platform.AddMonitor({stages[i], k}, fake::Enlarged(sheet, k));
    }
    expected.SetUp();

    XvfbScreen screen(c.screen.width, c.screen.height);
    Window window = screen.root();
    if (stages.size() == 1) {
      window = XCreateSimpleWindow(screen.display(), window, 0, 0, kStage.width, kStage.height,
                                   0, 0, 0);
      XMapWindow(screen.display(), window);
    } else {
      for (const PixelRect& area : stages) screen.SetMonitor(area);
    }
    // Not black: each stage must be painted black before its flock starts.
    XSetWindowBackground(screen.display(), window, 0x123456);
    XClearWindow(screen.display(), window);
    X11Platform platform(*screen.display(), window, 0,
                         [&](int k) { return AsPicture(fake::Enlarged(sheet, k)); });
    ScaledStage stage(platform, platform, platform, platform.scale());
    SameClock pacing(platform);
    SeededRandom random;
    Scene scene(stage, stage, stage, pacing, expected.settings, random);
    // A given window or the root sends no input, so the fake's saver form may take the events.
    stage.LoadSaverWindow(kSaverDesign, expected.frmSaver);
    scene.SetUpScene();
    for (int frame = 0; frame < kFrames; ++frame) {
      scene.FrameStep();
      expected.scene.FrameStep();
    }
    for (size_t i = 0; i < stages.size(); ++i) {
      const fake::Pixels& want = i == 0 ? expected.platform.surface(SurfaceId::SaverWindow)
                                        : expected.platform.monitors[i - 1]->window();
      const PixelRect& at = stages[i];
      const fake::Pixels shown = screen.Read(window, at.width, at.height, at.left, at.top);
      EXPECT_EQ(fake::Difference(shown, want), "") << "monitor " << i;
    }
    // CleanScreen has no pixmap to read: the copies from it are checked where they land.
    for (const SurfaceId id : {SurfaceId::WorkScr, SurfaceId::Master}) {
      const fake::Pixels& want = expected.platform.surface(id);
      const fake::Pixels held = screen.Read(platform.DrawableOf(id), want.width, want.height);
      EXPECT_EQ(fake::Difference(held, want), "") << "surface " << static_cast<int>(id);
    }
    // The server holds a sheet for each k and a WorkScr for each monitor, 32 bits a pixel at
    // depth 24; a monitor that goes takes its own away.
    const auto held_as_due = [&] {
      unsigned long held = 0, due = 0;
      XResQueryClientPixmapBytes(screen.display(), platform.DrawableOf(SurfaceId::WorkScr), &held);
      std::set<int> scales;
      for (const PixelRect& at : stages) {
        const int k = ScaleForWindow(at.width, at.height);
        const bool first_of_k = scales.insert(k).second;
        due += 4ul * (at.width * at.height + (first_of_k ? k * k * sheet.width * sheet.height : 0));
      }
      EXPECT_EQ(held, due) << stages.size() << " monitors";
    };
    held_as_due();
    if (stages.size() == 1) continue;
    screen.DeleteMonitor(static_cast<int>(stages.size()) - 1);
    stages.pop_back();
    pacing.frames = 2;
    EXPECT_THROW(scene.FrameLoop(), fake::ProcessEnded);
    EXPECT_EQ(scene.OtherFlocks().size(), stages.size() - 1);
    held_as_due();
  }
}

}  // namespace
}  // namespace fq::x11
