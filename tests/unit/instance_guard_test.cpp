// The single-instance guard, row by row, through a whole saver start on the fake platform.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "startup/program.h"

namespace fq {
namespace {

using fake::FakePlatform;
using fake::ProcessEnded;

// Thrown at the first yield: the saver got past the guard and into its frame loop.
struct ReachedFrameLoop {};

struct SaverStart {
  bool ran = false;  // reached the frame loop; otherwise it ended before
  std::vector<std::string> guard_calls;
  std::string title;
  bool any_window = false;
};

SaverStart StartSaver(bool previous_instance, std::set<std::string> other_windows) {
  FakePlatform platform;
  platform.argument_text = "/s";
  platform.previous_instance = previous_instance;
  platform.foreign_window_titles = std::move(other_windows);
  platform.on_yield = [] { throw ReachedFrameLoop{}; };
  Program program(platform);
  SaverStart start;
  try {
    program.Main();
  } catch (const ReachedFrameLoop&) {
    start.ran = true;
  } catch (const ProcessEnded&) {
    start.any_window = platform.saver_loaded || platform.work_loaded || platform.dialog_loaded;
  }
  for (const std::string& call : platform.calls) {
    for (const char* kind : {"FindTopLevelWindow", "LoadSaverWindow", "SetSaverTitle",
                             "EndProcessNow"}) {
      if (call.rfind(kind, 0) == 0) start.guard_calls.push_back(call);
    }
  }
  start.title = platform.saver_title;
  return start;
}

std::string Joined(const std::vector<std::string>& calls) {
  std::string text;
  for (const std::string& call : calls) text += (text.empty() ? "" : " | ") + call;
  return text;
}

TEST(InstanceGuard, FollowsTheTableOfSaverStarts) {
  const std::vector<std::string> alone = {"LoadSaverWindow"};
  const std::vector<std::string> marks = {"FindTopLevelWindow FlyingQuorlinSaver",
                                          "LoadSaverWindow", "SetSaverTitle FlyingQuorlinSaver"};
  const std::vector<std::string> ends = {"FindTopLevelWindow FlyingQuorlinSaver",
                                         "EndProcessNow"};
  const struct {
    const char* situation;
    bool previous_instance;
    std::set<std::string> other_windows;
    bool runs;
    std::vector<std::string> guard_calls;
    const char* title;
  } rows[] = {
      {"no other copy runs", false, {}, true, alone, "Animation Code"},
      {"no other copy runs, a foreign window has the marker title", false,
       {"FlyingQuorlinSaver"}, true, alone, "Animation Code"},
      {"an unmarked saver runs", true, {"Animation Code"}, true, marks, "FlyingQuorlinSaver"},
      {"the settings dialog runs", true, {"Flying Quorlin settings"}, true, marks,
       "FlyingQuorlinSaver"},
      {"a marked saver runs", true, {"Animation Code", "FlyingQuorlinSaver"}, false, ends, ""},
      {"a copy runs and a foreign window has the marker title", true, {"FlyingQuorlinSaver"},
       false, ends, ""},
  };
  for (const auto& row : rows) {
    const SaverStart start = StartSaver(row.previous_instance, row.other_windows);
    EXPECT_EQ(start.ran, row.runs) << row.situation << ": ran into the frame loop";
    EXPECT_EQ(Joined(start.guard_calls), Joined(row.guard_calls))
        << row.situation << ": window search, load and title calls";
    if (row.runs) {
      EXPECT_EQ(start.title, row.title) << row.situation << ": saver window title";
    } else {
      EXPECT_FALSE(start.any_window) << row.situation << ": a window existed when it ended";
    }
  }
}

}  // namespace
}  // namespace fq
