// The frame step's numbers: the wing cycle, the re-entry test and what a re-entry draws and
// computes, 16-bit wrapping, and the loop's pacing, the Win32 pause's included.
#include <gtest/gtest.h>

#include <deque>

#include "fake/scene_fixture.h"
#include "frame_pause.h"

namespace fq {
namespace {

struct StopLoop {};

TEST(FrameStep, EverySpriteShowsTheFrameOfTheWingCycleForItsStep) {
  // Steps 1-5 frame 0, 6-11 frame 1, 12-17 frame 2, 18-23 frame 3, 24-29 frame 2,
  // 30-35 frame 1, 36-41 frame 0, 42-47 frame 1.
  const int16_t frame_of_span[] = {0, 1, 2, 3, 2, 1, 0, 1};
  SceneOnFake<> run(3);
  run.random.Script({0.1f, 0.1f, 0.4f, 0.5f, 0.7f, 0.2f});
  run.SetUp();
  for (int step = 1; step <= 47; ++step) {
    run.scene.FrameStep();
    for (int i = 0; i < 3; ++i) {
      ASSERT_EQ(run.sprite(i).Frame, frame_of_span[step / 6]) << "step " << step << ", sprite " << i;
    }
  }
  EXPECT_EQ(run.random.draws, 6) << "no sprite should have re-entered";
}

// A re-entry draws r, r2 and s: r below a half brings the sprite back at the left edge at
// r2 times the upper third's height, otherwise at the top edge at r2 times the left third's
// width; its new speed is old speed * s + 2, rounded half to even. It then moves as usual.
TEST(FrameStep, ReEntersPastTheEdgeTestedBeforeTheMove) {
  const struct {
    int16_t x, y, speed;
    float r, r2, s;
    int16_t new_x, new_y, new_speed;
  } cases[] = {
      {1920, 100, 3, 0.25f, 0.5f, 0.5f, 1923, 101, 3},    // on the edge: no re-entry yet
      {100, 1080, 3, 0.25f, 0.5f, 0.5f, 103, 1081, 3},
      {-64, -64, 3, 0.25f, 0.5f, 0.5f, -61, -63, 3},
      {1921, 100, 3, 0.25f, 0.5f, 0.5f, -60, 181, 4},     // left: Y = 0.5 * (1080 div 3)
      {100, 1081, 3, 0.4999999f, 0.0f, 0.5f, -60, 1, 4},
      {2000, 0, 3, 0.5f, 0.5f, 0.5f, 324, -63, 4},        // top: X = 0.5 * (1920 div 3)
      {1921, 0, 2, 0.9f, 0.0f, 0.25f, 2, -63, 2},         // 2.5 rounds to 2
      {1921, 0, 2, 0.9f, 0.0f, 0.75f, 4, -63, 4},         // 3.5 rounds to 4
      {1921, 0, 31, 0.9f, 0.0f, 0.99f, 33, -63, 33},
      // 3 * s + 2 is 2.50000006 unrounded but exactly 2.5 in single precision, so 2: a build
      // that keeps excess precision (x87) gets 3.
      {1921, 0, 3, 0.9f, 0.0f, 2796203.0f / 16777216.0f, 2, -63, 2},
  };
  for (const auto& c : cases) {
    SceneOnFake<> run(1);
    run.SetUp();
    run.sprite(0).X = c.x;
    run.sprite(0).Y = c.y;
    run.sprite(0).SpeedX = c.speed;
    run.random.Script({c.r, c.r2, c.s});
    const int draws_before = run.random.draws;
    run.scene.FrameStep();
    const bool re_enters = c.x > 1920 || c.y > 1080;
    EXPECT_EQ(run.random.draws - draws_before, re_enters ? 3 : 0) << "from " << c.x << ", " << c.y;
    EXPECT_EQ(run.sprite(0).X, c.new_x) << "from " << c.x << ", " << c.y;
    EXPECT_EQ(run.sprite(0).Y, c.new_y) << "from " << c.x << ", " << c.y;
    EXPECT_EQ(run.sprite(0).SpeedX, c.new_speed) << "from " << c.x << ", " << c.y;
  }
}

TEST(FrameStep, PositionsWrapAsSixteenBits) {
  SceneOnFake<> run(1, {32767, 2});
  run.SetUp();
  run.sprite(0).X = 32766;
  run.sprite(0).Y = 0;
  run.scene.FrameStep();
  EXPECT_EQ(run.sprite(0).X, -32767);
  EXPECT_EQ(run.sprite(0).Y, 1);
}

TEST(FrameLoop, StepsYieldsAndPausesSpeedMillisecondsOnlyAboveZero) {
  const struct {
    int16_t speed;
    std::vector<int32_t> pauses;
  } cases[] = {{25, {25, 25, 25}}, {1, {1, 1, 1}}, {0, {}}, {-7, {}}};
  for (const auto& c : cases) {
    SceneOnFake<> run(1, {1920, 1080}, c.speed);
    run.platform.AddMonitor({{1920, 0, 640, 480}, 1}, run.platform.sheet);  // one pause for both
    run.SetUp();
    const int16_t x_before = run.sprite(0).X;
    run.platform.on_yield = [&] {
      if (run.platform.yields == 5) throw StopLoop{};  // the set-up's yield, then four frames'
    };
    EXPECT_THROW(run.scene.FrameLoop(), StopLoop);
    EXPECT_EQ(run.platform.pauses, c.pauses) << "Speed " << c.speed;
    EXPECT_EQ(run.sprite(0).X, x_before + 4 * 3) << "four frames before the fourth yield";
  }
}

// A system on an exact clock in milliseconds, input arriving at the times given, each serving
// taking `serving` ms; what the pause asked, in order.
struct ScriptedWaits : win32::PauseWaits {
  bool has_timer;
  std::deque<uint64_t> inputs;
  uint64_t serving;
  uint64_t now = 1000, fires = 0;
  std::string asked;

  bool SetTimer(int32_t milliseconds) override {
    asked += "timer " + std::to_string(milliseconds) + ", ";
    fires = now + milliseconds;
    return has_timer;
  }
  Woken Until(uint64_t end) {
    const bool input = !inputs.empty() && inputs.front() < end;
    now = std::max(now, input ? inputs.front() : end);
    return input ? Woken::Input : Woken::Deadline;
  }
  Woken WaitForTimerOrInput() override { return asked += "wait, ", Until(fires); }
  Woken WaitForInput(uint32_t ms) override {
    return asked += "wait " + std::to_string(ms) + ", ", Until(now + ms);
  }
  uint64_t Now() override { return now; }
  void ServeInput() override {
    asked += "serve, ";
    inputs.pop_front();
    now += serving;
  }
};

TEST(FramePause, EndsSpeedMillisecondsAfterItStartsServingInputOnTheTimerOrTheClock) {
  const struct {
    bool has_timer;
    int32_t speed;
    std::deque<uint64_t> inputs;
    uint64_t serving, ends;
    std::string asked;
  } cases[] = {
      {true, 25, {}, 0, 1025, "timer 25, wait, "},
      {true, 25, {1005, 1012}, 1, 1025, "timer 25, wait, serve, wait, serve, wait, "},
      {true, 25, {1030}, 0, 1025, "timer 25, wait, "},  // the next frame's yield serves it
      {true, 10, {1005}, 8, 1013, "timer 10, wait, serve, wait, "},
      // Without the timer (before Windows 10 1803): waits on the clock, as long as is left.
      {false, 25, {}, 0, 1025, "timer 25, wait 25, "},
      {false, 25, {1005}, 1, 1025, "timer 25, wait 25, serve, wait 19, "},
      {false, 10, {1005}, 8, 1013, "timer 10, wait 10, serve, "},
  };
  for (const auto& c : cases) {
    ScriptedWaits waits;
    waits.has_timer = c.has_timer;
    waits.inputs = c.inputs;
    waits.serving = c.serving;
    win32::Pause(waits, c.speed);
    EXPECT_EQ(waits.asked, c.asked) << "timer " << c.has_timer << ", Speed " << c.speed;
    EXPECT_EQ(waits.now, c.ends) << "timer " << c.has_timer << ", Speed " << c.speed;
  }
}

}  // namespace
}  // namespace fq
