// X11 benchmark, run on a 1920 by 1080 Xvfb screen by scripts/bench.sh. Without arguments it
// prints the drawing time per frame of the real `FrameStep` on the X11 port's root-window stage,
// for Count 8 and 30, against a bare loop of the same X calls on the same pixmaps in
// the same run; the clock stops after XSync, so the server's drawing is counted. With
// "--paced SECONDS COUNT" it runs the bare loop paced like the hack at Speed 25, so that the
// script can measure its processor share from outside, as it does for the hack.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "animation/scene.h"
#include "bare_cells.h"
#include "ignored_input.h"
#include "method.h"
#include "saver_window/saver_form.h"
#include "x11_platform.h"

namespace fq::bench {
namespace {

// The frame step's copies with nothing around them, on the platform's own drawables.
class BareCopies {
 public:
  BareCopies(x11::X11Platform& platform, const SpriteTable& sprites, int count, Extent screen)
      : display_(&platform.display()),
        window_(platform.DrawableOf(SurfaceId::SaverWindow)),
        work_(platform.DrawableOf(SurfaceId::WorkScr)),
        master_(platform.DrawableOf(SurfaceId::Master)),
        cells_(sprites, count, screen) {
    XGCValues values{};
    values.graphics_exposures = False;
    gc_ = XCreateGC(display_, window_, GCGraphicsExposures, &values);
  }
  BareCopies(const BareCopies&) = delete;
  BareCopies& operator=(const BareCopies&) = delete;
  ~BareCopies() { XFreeGC(display_, gc_); }

  void Frame() {
    constexpr int cell = kSheetCell;
    constexpr int block = kSheetDrawnBlock;
    XSetFunction(display_, gc_, GXcopy);
    for (int i = 0; i < cells_.count(); ++i) {
      // The erase from CleanScreen, a pixmap-less black surface.
      XFillRectangle(display_, work_, gc_, cells_[i].x, cells_[i].y, cell, cell);
    }
    const int column = cells_.NextColumn();
    for (int i = 0; i < cells_.count(); ++i) {
      const Cell& sprite = cells_.Move(i);
      XSetFunction(display_, gc_, GXand);
      XCopyArea(display_, master_, work_, gc_, column, kSheetMaskRowY, block, block, sprite.x, sprite.y);
      XSetFunction(display_, gc_, GXor);
      XCopyArea(display_, master_, work_, gc_, column, 0, block, block, sprite.x, sprite.y);
    }
    XSetFunction(display_, gc_, GXcopy);
    for (int i = 0; i < cells_.count(); ++i) {
      XCopyArea(display_, work_, window_, gc_, cells_[i].x, cells_[i].y, cell, cell, cells_[i].x, cells_[i].y);
    }
  }

 private:
  Display* display_;
  Drawable window_, work_, master_;
  GC gc_ = nullptr;
  BareCells cells_;
};

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The two take turns round by round, each from the same sprite places, so that a slow spell of
// the machine hits both alike and they clip alike at the edges.
void CompareDrawing(x11::X11Platform& platform, int16_t count) {
  BenchScene bench_scene(platform, count);
  Scene& scene = bench_scene.scene();
  std::vector<Timings> ways = {{"FrameStep", {}}, {"bare", {}}};
  SpriteTable start = scene.Sprites();
  for (int round = 0; round < kRounds; ++round) {
    for (Timings& way : ways) {
      const bool step = &way == &ways[0];
      scene.Sprites() = start;
      BareCopies bare(platform, start, count, {scene.ScreenW(), scene.ScreenH()});
      const double begin = Seconds();
      for (int i = 0; i < kFramesPerRound; ++i) step ? scene.FrameStep() : bare.Frame();
      XSync(&platform.display(), False);
      way.rounds.push_back((Seconds() - begin) * 1000.0 / kFramesPerRound);
      if (step) start = scene.Sprites();
    }
  }
  PrintTimings(count, scene.ScreenW(), scene.ScreenH(), 1, ways, ways[1]);
}

// The bare loop paced as the hack runs.
void RunPacedBare(x11::X11Platform& platform, double seconds, int16_t count) {
  BenchScene bench_scene(platform, count);
  Scene& scene = bench_scene.scene();
  BareCopies bare(platform, scene.Sprites(), count, {scene.ScreenW(), scene.ScreenH()});
  RunPaced(platform, seconds, Seconds, [&] { bare.Frame(); });
}

}  // namespace
}  // namespace fq::bench

int main(int argc, char** argv) {
  using namespace fq;
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  int exit_code = 1;
  try {
    x11::X11Platform platform(*display, DefaultRootWindow(display), 1);
    bench::IgnoredInput input;
    platform.LoadSaverWindow(kSaverDesign, input);
    exit_code = bench::RunCommand(
        argc, argv,
        [&](double seconds, int16_t count) { bench::RunPacedBare(platform, seconds, count); },
        [&](int16_t count) { bench::CompareDrawing(platform, count); });
  } catch (const std::exception& fault) {
    std::fprintf(stderr, "bench stopped: %s\n", fault.what());
  }
  XCloseDisplay(display);
  return exit_code;
}
