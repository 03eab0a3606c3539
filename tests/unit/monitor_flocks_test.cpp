// A flock on every monitor: the primary's frames do not change with the monitors beside it,
// each monitor shows its own flock at its own scale, flocks follow monitors as they come, go
// and change, and a pointer move counts the core's pixels of the monitor where it starts.
#include <gtest/gtest.h>

#include "animation/random_source.h"
#include "fake/scene_fixture.h"
#include "fake/test_pictures.h"

namespace fq {
namespace {

using fake::Pixels;

constexpr Extent kPrimary{320, 180};

// Six sprites on a 320 by 180 primary beside `monitors`, each given the sheet for its scale.
struct MonitorsRun : SceneOnFake<LcgRandom> {
  explicit MonitorsRun(std::initializer_list<MonitorArea> monitors)
      : SceneOnFake(6, kPrimary) {
    platform.sheet = fake::PatternedSheet();
    platform.seconds_since_midnight = 40321.25f;
    for (const MonitorArea& monitor : monitors) Add(monitor);
    SetUp();
  }
  void Add(const MonitorArea& monitor) {
    platform.AddMonitor(monitor, fake::Enlarged(fake::PatternedSheet(), monitor.scale));
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) scene.FrameStep();
  }
  const Pixels& Primary() { return platform.surface(SurfaceId::SaverWindow); }
  const Pixels& Monitor(size_t i) { return platform.monitors.at(i)->window(); }
};

bool Blank(const Pixels& picture) {
  for (uint32_t pixel : picture.data) {
    if (pixel != 0) return false;
  }
  return true;
}

constexpr int kFrames = 150;  // enough for re-entries at both edges

TEST(MonitorFlocks, ThePrimarysFramesAreTheSameWithOneTwoOrThreeMonitors) {
  MonitorsRun alone({});
  alone.Frames(kFrames);
  MonitorsRun three({{{320, 0, 400, 300}, 1}, {{-200, 0, 200, 200}, 1}});
  three.Frames(kFrames);
  MonitorsRun two({{{320, 0, 400, 300}, 1}});
  two.Frames(kFrames);
  for (MonitorsRun* run : {&two, &three}) {
    EXPECT_EQ(fake::Difference(run->Primary(), alone.Primary()), "");
    for (size_t i = 0; i < run->platform.monitors.size(); ++i) {
      EXPECT_FALSE(Blank(run->Monitor(i))) << "monitor " << i << " shows its flock";
    }
  }
  EXPECT_EQ(three.scene.OtherFlocks()[0].ScreenW(), 400);
  EXPECT_EQ(three.scene.OtherFlocks()[1].ScreenH(), 200);
  EXPECT_NE(three.scene.OtherFlocks()[0].Sprites()[0].X, three.scene.OtherFlocks()[1].Sprites()[0].X)
      << "each monitor's generator is seeded apart";
}

// Beside a primary at 1x, a monitor at 2x shows the picture the same flock makes at 1x, every
// pixel 2 by 2, over its own size in the core's pixels.
TEST(MonitorFlocks, AMonitorAtTwiceTheScaleShowsItsFlockAsAtOneTimesEveryPixelTwoByTwo) {
  MonitorsRun plain({{{320, 0, 300, 200}, 1}});
  plain.Frames(kFrames);
  MonitorsRun dense({{{320, 0, 600, 400}, 2}});
  dense.Frames(kFrames);
  EXPECT_EQ(dense.scene.OtherFlocks()[0].ScreenW(), 300);
  EXPECT_EQ(fake::Difference(dense.Monitor(0), fake::Enlarged(plain.Monitor(0), 2)), "");
  EXPECT_EQ(fake::Difference(dense.Primary(), plain.Primary()), "");
}

// During the yields and a pause: a monitor comes, another goes, a third changes scale. Kept
// monitors keep their flocks; the primary's frames are those of a run without any of it.
TEST(MonitorFlocks, FlocksFollowMonitorsThatComeGoAndChange) {
  MonitorsRun alone({});
  alone.Frames(40);
  MonitorsRun run({{{320, 0, 400, 300}, 1}, {{720, 0, 400, 300}, 1}});
  const MonitorFlocks& flocks = run.scene.OtherFlocks();
  int yields = 0;
  Sprite kept{};
  run.platform.on_yield = [&] {
    ++yields;
    if (yields == 10) run.Add({{-640, 0, 640, 360}, 2});
    if (yields == 21) {
      ASSERT_EQ(flocks.size(), 2u) << "the second monitor went";
      EXPECT_EQ(flocks[0].Sprites()[0].X, kept.X + kept.SpeedX)
          << "the first monitor kept its flock, one step on";
    }
    if (yields == 30) {
      run.platform.RemoveMonitor(0);
      run.Add({{320, 0, 400, 300}, 2});
    }
    if (yields == 40) throw fake::ProcessEnded();
  };
  run.platform.on_pause = [&] {
    if (yields != 20) return;
    kept = flocks[0].Sprites()[0];
    run.platform.RemoveMonitor(1);
  };
  EXPECT_THROW(run.scene.FrameLoop(), fake::ProcessEnded);
  ASSERT_EQ(flocks.size(), 2u);
  EXPECT_EQ(flocks[0].ScreenW(), 320) << "the 640-pixel monitor at 2x";
  EXPECT_EQ(flocks[1].ScreenW(), 200) << "the re-scaled monitor starts afresh at its new size";
  EXPECT_FALSE(Blank(run.Monitor(0)));
  EXPECT_FALSE(Blank(run.Monitor(1)));
  EXPECT_EQ(fake::Difference(run.Primary(), alone.Primary()), "");
}

// The tolerance is 20 core pixels of the monitor where the move starts: 40 physical pixels on a
// monitor at 2x, right of a primary at 1x.
TEST(MonitorFlocks, APointerMoveCountsTheCorePixelsOfTheMonitorWhereItStarts) {
  const struct {
    std::vector<std::pair<float, float>> moves;  // physical; the first sets the reference
    bool ends;
  } cases[] = {
      {{{400, 100}, {430, 130}}, false},               // 15 on the 2x monitor
      {{{400, 100}, {450, 150}}, true},                // 25 on the 2x monitor
      {{{300, 100}, {325, 125}}, true},                // 25 from the primary
      {{{330, 100}, {305, 75}}, false},                // 12.5 from the 2x monitor
      {{{310, 100}, {325, 102}, {360, 137}}, false},  // then 17.5 on the 2x monitor
      {{{310, 100}, {325, 102}, {370, 147}}, true},   // then 22.5
  };
  for (const auto& c : cases) {
    MonitorsRun run({{{320, 0, 640, 360}, 2}});
    SaverEvents& port_events = *run.platform.saver_events;
    bool ended = false;
    try {
      for (const auto& [x, y] : c.moves) port_events.MouseMove(0, 0, x, y);
    } catch (const fake::ProcessEnded&) {
      ended = true;
    }
    EXPECT_EQ(ended, c.ends) << "the move to " << c.moves.back().first;
  }
}

}  // namespace
}  // namespace fq
