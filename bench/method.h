// How the Windows and X11 benchmarks set up their scenes, time and pace their loops, so that
// their figures compare.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "animation/random_source.h"
#include "animation/scene.h"
#include "startup/settings.h"

namespace fq::bench {

inline constexpr int kRounds = 15;
inline constexpr int kFramesPerRound = 300;
inline constexpr int kPacedSpeed = 25;  // ms, the default Speed

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// One way of drawing the frames and its milliseconds per frame, round by round.
struct Timings {
  const char* name;
  std::vector<double> rounds;
};

// Prints each way's median and least, and its median against the bare loop's; `width` and
// `height` are the screen's physical pixels, `scale` the k the core's pixels are shown at.
inline void PrintTimings(int16_t count, int width, int height, int scale,
                         const std::vector<Timings>& ways, const Timings& bare) {
  std::printf("Count %2d at %dx%d, k = %d, ms per frame over %d rounds of %d frames:\n", count,
              width, height, scale, kRounds, kFramesPerRound);
  std::printf("  %-24s %8s %8s %12s\n", "", "median", "least", "median/bare");
  for (const Timings& way : ways) {
    std::printf("  %-24s %8.3f %8.3f %11.2fx\n", way.name, Median(way.rounds),
                *std::min_element(way.rounds.begin(), way.rounds.end()),
                Median(way.rounds) / Median(bare.rounds));
  }
}

// The monitors as a new scene must see them: changed at its first look, though the platform
// told a scene before it already.
class FirstLook : public OtherMonitors {
 public:
  explicit FirstLook(OtherMonitors& others) : others_(others) {}
  bool OtherMonitorsChanged() override {
    return std::exchange(first_, false) || others_.OtherMonitorsChanged();
  }
  std::vector<MonitorArea> OtherMonitorAreas() override { return others_.OtherMonitorAreas(); }
  WorkSurfaces& MonitorSurfaces(size_t index) override { return others_.MonitorSurfaces(index); }

 private:
  OtherMonitors& others_;
  bool first_ = true;
};

// A scene of `count` sprites at the default Speed, set up on a saver window as the saver sets
// it up, with a flock on every other monitor: on a platform's own, or through the stage that
// scales it.
class BenchScene {
 public:
  BenchScene(SaverWindow& window, WorkSurfaces& surfaces, OtherMonitors& others, Pacing& pacing,
             int16_t count)
      : settings_{kPacedSpeed, count},
        others_(others),
        scene_(window, surfaces, others_, pacing, settings_, random_) {
    scene_.SetUpScene();
  }
  template <typename Platform>
  BenchScene(Platform& platform, int16_t count)
      : BenchScene(platform, platform, platform, platform, count) {}
  Scene& scene() { return scene_; }

 private:
  const Settings settings_;
  LcgRandom random_;
  FirstLook others_;
  Scene scene_;
};

// Frames as the saver runs them, for `seconds` by the clock `now`: one frame, every pending
// message or event, a pause of the default Speed.
template <typename Clock, typename Frame>
void RunPaced(Pacing& pacing, double seconds, Clock now, Frame frame) {
  for (const double end = now() + seconds; now() < end;) {
    frame();
    pacing.YieldToMessageLoop();
    pacing.Pause(kPacedSpeed);
  }
}

// The benchmarks' command line, once they are set up: "--paced SECONDS COUNT" runs
// `paced(seconds, count)`, none runs `compare(count)` for Count 8 and 30. Returns the exit code:
// 2, with the usage, for anything else.
template <typename Paced, typename Compare>
int RunCommand(int argc, char** argv, Paced paced, Compare compare) {
  if (argc == 4 && std::string_view(argv[1]) == "--paced") {
    paced(std::atof(argv[2]), static_cast<int16_t>(std::atoi(argv[3])));
  } else if (argc == 1) {
    for (int16_t count : {8, 30}) compare(count);
  } else {
    std::fprintf(stderr, "usage: %s [--paced SECONDS COUNT]\n", argv[0]);
    return 2;
  }
  return 0;
}

}  // namespace fq::bench
