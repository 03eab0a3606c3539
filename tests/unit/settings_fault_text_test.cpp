// The error box for a stored setting that does not convert: huge hand-edited values are
// shown abbreviated, and the cut never splits a character.
#include <gtest/gtest.h>

#include <string>

#include "fake/fake_platform.h"
#include "platform/fault.h"
#include "startup/settings.h"

namespace fq {
namespace {

using fake::FakePlatform;

// The quoted value as the fault's text shows it.
std::string ShownValue(const std::string& stored) {
  FakePlatform platform;
  platform.store[FakePlatform::StoreKey("FlyingQuorlinSaver", "Settings", "Count")] = stored;
  try {
    LoadSettings(platform);
  } catch (const Fault& fault) {
    const std::string text = FaultBoxText(fault);
    const size_t open = text.find("(\"");
    const size_t close = text.rfind("\")");
    if (open == std::string::npos || close == std::string::npos) return "unquoted: " + text;
    return text.substr(open + 2, close - open - 2);
  }
  return "no fault";
}

// True when every byte sequence is a whole UTF-8 character.
bool WholeUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

std::string Repeat(const std::string& piece, size_t times) {
  std::string text;
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(SettingFaultText, ShowsShortValuesWholeAndHugeOnesCutBeforeACharacter) {
  const std::string euro = "\xE2\x82\xAC";  // three bytes
  const struct {
    std::string stored;
    std::string shown;
  } cases[] = {
      {Repeat("x", 40), Repeat("x", 40)},
      {Repeat("x", 65536), Repeat("x", 40) + "..."},
      // 40 bytes end inside the fourteenth euro sign: it is left out whole.
      {Repeat(euro, 21846), Repeat(euro, 13) + "..."},
      {"a" + Repeat("\xC3\xA9", 30), "a" + Repeat("\xC3\xA9", 19) + "..."},
  };
  for (const auto& c : cases) {
    const std::string shown = ShownValue(c.stored);
    EXPECT_EQ(shown, c.shown) << "for a stored value of " << c.stored.size() << " bytes";
    EXPECT_TRUE(WholeUtf8(shown)) << "the box text splits a character: " << shown;
  }
}

}  // namespace
}  // namespace fq
