// The frame step's numbers: the wing cycle, the re-entry test and what a re-entry draws and
// computes, 16-bit wrapping, and the loop's pacing.
#include <gtest/gtest.h>

#include "fake/scene_fixture.h"

namespace fq {
namespace {

struct StopLoop {};

TEST(FrameStep, EverySpriteShowsTheFrameOfTheWingCycleForItsStep) {
  // Steps 1-5 frame 0, 6-11 frame 1, 12-17 frame 2, 18-23 frame 3, 24-29 frame 2,
  // 30-35 frame 1, 36-41 frame 0, 42-47 frame 1.
  const struct {
    int first_step;
    int last_step;
    int16_t frame;
  } spans[] = {{1, 5, 0},   {6, 11, 1},  {12, 17, 2}, {18, 23, 3},
               {24, 29, 2}, {30, 35, 1}, {36, 41, 0}, {42, 47, 1}};
  SceneOnFake<> run(3);
  run.random.Script({0.1f, 0.1f, 0.4f, 0.5f, 0.7f, 0.2f});
  run.SetUp();
  int step = 0;
  for (const auto& span : spans) {
    for (; step < span.last_step;) {
      ++step;
      run.scene.FrameStep();
      for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(run.scene.Sprites()[i].Frame, span.frame) << "step " << step << ", sprite " << i;
      }
    }
  }
  EXPECT_EQ(run.random.draws, 6) << "no sprite should have re-entered";
}

TEST(FrameStep, ReEntersOnlyPastTheEdgeTestedBeforeTheMove) {
  const struct {
    int16_t x, y;
    bool re_enters;
  } cases[] = {
      {1920, 100, false}, {1921, 100, true}, {100, 1080, false}, {100, 1081, true},
      {1920, 1080, false}, {-64, -64, false}, {1917, 1079, false},
  };
  for (const auto& c : cases) {
    SceneOnFake<> run(1);
    run.SetUp();
    Sprite& sprite = run.scene.Sprites()[0];
    sprite.X = c.x;
    sprite.Y = c.y;
    // Left edge, r2 = 0.5, s = 0.5.
    run.random.Script({0.25f, 0.5f, 0.5f});
    const int draws_before = run.random.draws;
    run.scene.FrameStep();
    const int draws = run.random.draws - draws_before;
    if (c.re_enters) {
      EXPECT_EQ(draws, 3) << "at " << c.x << ", " << c.y << ": r, r2 and s";
      EXPECT_EQ(sprite.X, -64 + 4) << "at " << c.x << ", " << c.y;
      EXPECT_EQ(sprite.Y, 181) << "at " << c.x << ", " << c.y;
    } else {
      EXPECT_EQ(draws, 0) << "at " << c.x << ", " << c.y;
      EXPECT_EQ(sprite.X, c.x + 3) << "at " << c.x << ", " << c.y;
      EXPECT_EQ(sprite.Y, c.y + 1) << "at " << c.x << ", " << c.y;
    }
  }
}

TEST(FrameStep, ReEntersAtTheLeftBelowHalfAndAtTheTopOtherwise) {
  const struct {
    float r, r2;
    int16_t x, y;  // after the move
  } cases[] = {
      {0.25f, 0.5f, -64 + 4, 181},       // left: Y = 0.5 * (1080 div 3)
      {0.4999999f, 0.0f, -64 + 4, 1},    // left, at the top of the upper third
      {0.5f, 0.5f, 320 + 4, -63},        // top: X = 0.5 * (1920 div 3)
      {0.9f, 0.25f, 160 + 4, -63},
  };
  for (const auto& c : cases) {
    SceneOnFake<> run(1);
    run.SetUp();
    Sprite& sprite = run.scene.Sprites()[0];
    sprite.X = 2000;
    run.random.Script({c.r, c.r2, 0.5f});
    run.scene.FrameStep();
    EXPECT_EQ(sprite.X, c.x) << "r " << c.r << ", r2 " << c.r2;
    EXPECT_EQ(sprite.Y, c.y) << "r " << c.r << ", r2 " << c.r2;
  }
}

TEST(FrameStep, ANewSpeedIsTheOldSpeedTimesSPlusTwoRoundedHalfToEven) {
  const struct {
    int16_t old_speed;
    float s;
    int16_t new_speed;
  } cases[] = {{2, 0.25f, 2}, {2, 0.75f, 4}, {3, 0.5f, 4}, {5, 0.5f, 4}, {3, 0.0f, 2}, {31, 0.99f, 33}};
  for (const auto& c : cases) {
    SceneOnFake<> run(1);
    run.SetUp();
    Sprite& sprite = run.scene.Sprites()[0];
    sprite.X = 1921;
    sprite.SpeedX = c.old_speed;
    run.random.Script({0.25f, 0.5f, c.s});
    run.scene.FrameStep();
    EXPECT_EQ(sprite.SpeedX, c.new_speed) << "old " << c.old_speed << ", s " << c.s;
    EXPECT_EQ(sprite.X, -64 + c.new_speed) << "moved by the new speed";
  }
}

TEST(FrameStep, PositionsWrapAsSixteenBits) {
  SceneOnFake<> run(1, {32767, 2});
  run.SetUp();
  Sprite& sprite = run.scene.Sprites()[0];
  sprite.X = 32766;
  sprite.Y = 0;
  run.scene.FrameStep();
  EXPECT_EQ(sprite.X, -32767);
  EXPECT_EQ(sprite.Y, 1);
}

TEST(FrameLoop, StepsYieldsAndPausesSpeedMillisecondsOnlyAboveZero) {
  const struct {
    int16_t speed;
    std::vector<int32_t> pauses;
  } cases[] = {{25, {25, 25, 25}}, {1, {1, 1, 1}}, {0, {}}, {-7, {}}};
  for (const auto& c : cases) {
    for (int16_t count : {0, 1}) {
      SceneOnFake<> run(count, {1920, 1080}, c.speed);
      run.SetUp();
      const int16_t x_before = run.scene.Sprites()[0].X;
      const int yields_before = run.platform.yields;
      run.platform.on_yield = [&] {
        if (run.platform.yields - yields_before == 4) throw StopLoop{};
      };
      EXPECT_THROW(run.scene.FrameLoop(), StopLoop);
      EXPECT_EQ(run.platform.pauses, c.pauses) << "Speed " << c.speed << ", Count " << count;
      if (count == 1) {
        EXPECT_EQ(run.scene.Sprites()[0].X, x_before + 4 * 3) << "four frames before the 4th yield";
      }
    }
  }
}

}  // namespace
}  // namespace fq
