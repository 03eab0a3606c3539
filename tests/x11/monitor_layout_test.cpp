// How the whole screen is split by the monitors the server lists.
#include <gtest/gtest.h>

#include "monitor_layout.h"

namespace fq::x11 {
namespace {

TEST(MonitorLayout, ThePrimaryTakesTheSaverWindowAndEveryOtherMonitorAStageAtItsScale) {
  constexpr Extent kScreen{4520, 1080};
  constexpr PixelRect kWhole{0, 0, 4520, 1080}, kLeft{0, 0, 1920, 1080},
      kRight{1920, 0, 2600, 1080};
  const struct {
    const char* what;
    std::vector<ScreenMonitor> listed;
    int chosen;
    StageLayout split;
  } cases[] = {
      {"none", {}, 0, {kWhole, {}}},
      {"one", {{kLeft}}, 0, {kWhole, {}}},
      {"the first", {{kLeft}, {kRight}}, 0, {kLeft, {{kRight, 2}}}},
      {"the marked one", {{kLeft}, {kRight, true}}, 0, {kRight, {{kLeft, 1}}}},
      {"k by hand", {{kLeft}, {kRight}}, 3, {kLeft, {{kRight, 3}}}},
      {"an output's whole screen, split", {{kLeft}, {kRight}, {kWhole}}, 0, {kLeft, {{kRight, 2}}}},
      {"a mirror", {{kLeft}, {kLeft}}, 0, {kWhole, {}}},
      {"cut to the screen", {{{-100, 0, 500, 300}}, {{4400, 900, 500, 500}}}, 0,
       {{0, 0, 400, 300}, {{{4400, 900, 120, 180}, 1}}}},
      {"off the screen", {{kLeft}, {{5000, 0, 100, 100}}}, 0, {kWhole, {}}},
  };
  for (const auto& c : cases) {
    const StageLayout split = SplitByMonitors(kScreen, c.listed, c.chosen);
    EXPECT_EQ(split.primary, c.split.primary) << c.what;
    EXPECT_EQ(split.others, c.split.others) << c.what;
  }
}

}  // namespace
}  // namespace fq::x11
