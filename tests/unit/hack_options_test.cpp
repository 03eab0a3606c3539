// The hack's command line: where it draws, the settings by the dialog's rule, what it refuses;
// and its settings XML, which must offer the dialog's ranges and defaults.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "hack_options.h"

namespace fq::x11 {
namespace {

TEST(HackOptions, PickTheWindowAsHacksDoAndTakeOnlyWhatTheDialogAccepts) {
  const struct {
    std::vector<std::string_view> arguments;
    const char* variable = "";  // XSCREENSAVER_WINDOW
    const char* refusal = "";
    Target target = Target::OwnWindow;
    unsigned long id = 0;
    int16_t speed = 25, count = 8;
  } cases[] = {
      {{}, "", ""},
      {{}, "0x2a", "", Target::GivenWindow, 42},
      {{"--root", "--speed", "1", "--count", "30"}, "", "", Target::RootWindow, 0, 1, 30},
      {{"-root", "-speed", "100", "-count", "1"}, "42", "", Target::GivenWindow, 42, 100, 1},
      {{"--window", "--speed", "2.5", "--count", " 1e1 "}, "42", "", Target::OwnWindow, 0, 2, 10},
      {{"--window-id", "0x1E00007"}, "42", "", Target::GivenWindow, 0x1E00007},
      {{"--window-id", "010000001"}, "", "", Target::GivenWindow, 10000001},
      {{"--speed", "0"}, "", "--speed takes a number from 1 to 100, not \"0\"."},
      {{"--count", "1,5"}, "", "--count takes a number from 1 to 30, not \"1,5\"."},
      {{"--count"}, "", "--count needs a value."},
      {{"--scale", "4"}, "", "--scale takes 1, 2 or 3, not \"4\"."},
      {{"--window-id", "-1"}, "", "--window-id \"-1\" is not a window id."},
      {{"--window-id", "0xFFFFFFFF"}, "", "", Target::GivenWindow, 0xFFFFFFFF},
      {{"--window-id", "4294967296"}, "", "--window-id \"4294967296\" is not a window id."},
      {{"--window-id", "18446744073709551617"}, "",
       "--window-id \"18446744073709551617\" is not a window id."},
      {{"--root"}, "12x", "XSCREENSAVER_WINDOW \"12x\" is not a window id."},
      {{"--fps"}, "", "unknown option \"--fps\"."},
  };
  for (const auto& c : cases) {
    const std::string row = "row " + std::to_string(&c - cases);
    try {
      const HackOptions options = ReadHackOptions(c.arguments, c.variable);
      EXPECT_STREQ(c.refusal, "") << row << " was accepted";
      EXPECT_EQ(options.target, c.target) << row;
      EXPECT_EQ(options.window_id, c.id) << row;
      EXPECT_EQ(options.settings.Speed, c.speed) << row;
      EXPECT_EQ(options.settings.Count, c.count) << row;
    } catch (const OptionError& refused) {
      EXPECT_STREQ(refused.what(), c.refusal) << row;
    }
  }
}

TEST(HackSettingsXml, OffersTheDialogsRangesAndDefaults) {
  std::ifstream file(FQ_X11_DIR "/flyingquorlin.xml");
  const std::string xml{std::istreambuf_iterator<char>(file), {}};
  for (const auto& [option, setting] : {std::pair{"--speed", kSpeedSetting}, {"--count", kCountSetting}}) {
    std::ostringstream entry;
    entry << "arg=\"" << option << " %\"[^>]*low=\"" << setting.dialog_min << "\" high=\""
          << setting.dialog_max << "\" default=\"" << setting.default_value << "\"";
    EXPECT_TRUE(std::regex_search(xml, std::regex(entry.str()))) << option;
  }
}

}  // namespace
}  // namespace fq::x11
