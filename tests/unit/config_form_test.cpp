// The settings dialog on the fake platform: what it shows, what OK accepts, refuses and saves,
// and how both buttons end the program. Its window, keys and boxes: tests/e2e/test_dialog.py.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fault.h"
#include "fake/fake_platform.h"
#include "startup/program.h"

namespace fq {
namespace {

using fake::FakePlatform;
using fake::ProcessEnded;

const std::string kSpeedRefusal =
    "ERROR: For Speed we're looking for a number between 1 and 100 here, buddy.";
const std::string kCountRefusal =
    "ERROR: For count we're looking for a number between 1 and 30 here, buddy.";

using Stored = std::map<std::string, std::string>;

// A started program in settings mode whose dialog is open.
struct OpenDialog {
  FakePlatform platform;
  Program program{platform};

  explicit OpenDialog(Stored stored = {}) {
    platform.store = std::move(stored);
    platform.argument_text = "/c";
    program.Main();
    platform.calls.clear();
  }

  // Types both texts and presses a button; true when that ended the process.
  bool Press(const std::string& speed, const std::string& count,
             void (ConfigEvents::*button)() = &ConfigEvents::OkClicked) {
    platform.control_texts[DialogControl::SpeedBox] = speed;
    platform.control_texts[DialogControl::CountBox] = count;
    try {
      (platform.config_events->*button)();
    } catch (const ProcessEnded&) {
      return true;
    }
    return false;
  }

  std::string Writes() const {
    std::string writes;
    for (const std::string& call : platform.calls) {
      if (call.rfind("WriteSetting ", 0) == 0) writes += "[" + call.substr(13) + "]";
    }
    return writes;
  }
};

TEST(ConfigForm, OpensFilledWithTheConvertedSettings) {
  const struct {
    Stored stored;
    const char* speed;
    const char* count;
  } cases[] = {
      {{}, "25", "8"},
      {{{"Speed", "2.5"}, {"Count", " 1e1 "}}, "2", "10"},
      {{{"Speed", "-3"}, {"Count", "3.5"}}, "-3", "4"},
  };
  for (const auto& c : cases) {
    OpenDialog dialog(c.stored);
    EXPECT_EQ(dialog.platform.control_texts[DialogControl::SpeedBox], c.speed);
    EXPECT_EQ(dialog.platform.control_texts[DialogControl::CountBox], c.count);
  }
}

TEST(ConfigForm, OkSavesTheTypedTextsExactlyAndEndsWhenBothAreInRange) {
  const struct {
    const char* speed;
    const char* count;
    char separator;
  } cases[] = {
      {"1", "1", '.'},      {"100", "30", '.'},    {"2.5", "8", '.'},   {" 5 ", "\t7\t", '.'},
      {"1e1", "3E1", '.'},  {"+50", "1.0", '.'},   {"1e-0", "30e0", '.'}, {"2,5", "1,5e1", ','},
  };
  for (const auto& c : cases) {
    OpenDialog dialog;
    dialog.platform.decimal_separator = c.separator;
    EXPECT_TRUE(dialog.Press(c.speed, c.count)) << c.speed << " / " << c.count;
    EXPECT_EQ(dialog.Writes(), "[Speed=" + std::string(c.speed) + "][Count=" + c.count + "]");
    EXPECT_TRUE(dialog.platform.error_messages.empty()) << c.speed << " / " << c.count;
  }
}

TEST(ConfigForm, ARefusedValueShowsItsMessageKeepsItsKeyAndLeavesTheDialogOpen) {
  for (const char* speed : {"0.99", "100.5", "0", "-5", "", "abc", "1e999", "-1e999", "1,5"}) {
    OpenDialog dialog(Stored{{"Speed", "40"}});
    EXPECT_FALSE(dialog.Press(speed, "12")) << "speed \"" << speed << "\" ended the process";
    EXPECT_EQ(dialog.platform.error_messages, std::vector<std::string>{kSpeedRefusal}) << speed;
    EXPECT_EQ(dialog.Writes(), "[Count=12]") << speed;
    EXPECT_EQ(dialog.platform.store["Speed"], "40") << speed;
    EXPECT_EQ(dialog.platform.control_texts[DialogControl::SpeedBox], speed);
  }
  for (const char* count : {"0", "31", "30.01", ""}) {
    OpenDialog dialog;
    EXPECT_FALSE(dialog.Press("50", count)) << "count \"" << count << "\" ended the process";
    EXPECT_EQ(dialog.platform.error_messages, std::vector<std::string>{kCountRefusal}) << count;
    EXPECT_EQ(dialog.Writes(), "[Speed=50]") << count;
  }
}

TEST(ConfigForm, BothRefusedGiveTwoMessagesSpeedFirstAndSaveNothing) {
  OpenDialog dialog;
  EXPECT_FALSE(dialog.Press("abc", "31"));
  EXPECT_EQ(dialog.platform.error_messages,
            (std::vector<std::string>{kSpeedRefusal, kCountRefusal}));
  EXPECT_EQ(dialog.Writes(), "");
}

TEST(ConfigForm, OkAfterMendingSavesBothAndCancelKeepsWhatARefusedOkSaved) {
  OpenDialog mended;
  EXPECT_FALSE(mended.Press("0", "9"));
  EXPECT_TRUE(mended.Press("3", "9"));
  EXPECT_EQ(mended.Writes(), "[Count=9][Speed=3][Count=9]");

  OpenDialog cancelled;
  EXPECT_FALSE(cancelled.Press("7", ""));
  EXPECT_TRUE(cancelled.Press("8", "9", &ConfigEvents::CancelClicked));
  EXPECT_EQ(cancelled.Writes(), "[Speed=7]");
  EXPECT_EQ(LoadSettings(cancelled.platform, '.').Speed, 7);
}

TEST(ConfigForm, AWriteTheStoreRefusesIsAFaultThatStopsTheClick) {
  OpenDialog dialog;
  dialog.platform.refuse_writes = true;
  try {
    dialog.Press("5", "5");
    ADD_FAILURE() << "a refused write did not raise a fault";
  } catch (const Fault& fault) {
    EXPECT_EQ(fault.kind(), FaultKind::PlatformFailure);
  }
  EXPECT_EQ(dialog.Writes(), "[Speed=5]");
}

// A logoff or another program closes the dialog while the speed's refusal is up.
class PlatformClosingTheDialogDuringAMessage : public FakePlatform {
 public:
  void ShowErrorMessage(std::string_view text) override {
    FakePlatform::ShowErrorMessage(text);
    DestroyConfigDialog();
  }
};

TEST(ConfigForm, ClosedFromOutsideDuringARefusalOkStopsThereAndStoresNothing) {
  PlatformClosingTheDialogDuringAMessage platform;
  platform.argument_text = "/c";
  Program program(platform);
  program.Main();
  platform.control_texts = {{DialogControl::SpeedBox, "abc"}, {DialogControl::CountBox, "12"}};
  platform.config_events->OkClicked();
  EXPECT_EQ(platform.error_messages, std::vector<std::string>{kSpeedRefusal});
  EXPECT_TRUE(platform.store.empty());
}

}  // namespace
}  // namespace fq
