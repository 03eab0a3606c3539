// The single-instance guard, row by row, through a whole saver start on the fake platform.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "fake/fake_platform.h"
#include "startup/program.h"

namespace fq {
namespace {

using fake::FakePlatform;
using fake::ProcessEnded;

// Thrown at the first yield: the saver got past the guard and into its scene set-up.
struct ReachedTheScene {};

TEST(InstanceGuard, FollowsTheTableOfSaverStarts) {
  const struct {
    const char* situation;
    bool previous_instance;
    std::set<std::string> other_windows;
    const char* title;  // nullptr: the saver ends before any window exists
    bool searches;
  } rows[] = {
      {"no other copy runs", false, {}, "Animation Code", false},
      {"no other copy runs, a foreign window has the marker title", false,
       {"FlyingQuorlinSaver"}, "Animation Code", false},
      {"an unmarked saver runs", true, {"Animation Code"}, "FlyingQuorlinSaver", true},
      {"the settings dialog runs", true, {"About"}, "FlyingQuorlinSaver", true},
      {"a marked saver runs", true, {"Animation Code", "FlyingQuorlinSaver"}, nullptr, true},
  };
  for (const auto& row : rows) {
    FakePlatform platform;
    platform.argument_text = "/s";
    platform.previous_instance = row.previous_instance;
    platform.other_window_titles = row.other_windows;
    platform.on_yield = [] { throw ReachedTheScene{}; };
    Program program(platform);
    bool ran = false;
    try {
      program.Main();
    } catch (const ReachedTheScene&) {
      ran = true;
    } catch (const ProcessEnded&) {
    }
    EXPECT_EQ(platform.Count("TopLevelWindowExists FlyingQuorlinSaver"), row.searches ? 1 : 0)
        << row.situation;
    EXPECT_EQ(ran, row.title != nullptr) << row.situation;
    if (row.title) {
      EXPECT_EQ(platform.saver_title, row.title) << row.situation;
    } else {
      EXPECT_TRUE(!platform.saver_loaded && platform.surfaces.empty()) << row.situation;
    }
  }
}

}  // namespace
}  // namespace fq
