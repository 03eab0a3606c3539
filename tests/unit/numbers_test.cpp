// The number rules: the strict reading of stored and typed texts and the lenient reading after
// "/A". Rounding to 32 bits shows in the password change's parent (startup_test.cpp).
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "base/fault.h"
#include "numbers/readings.h"

namespace fq {
namespace {

// A whole number, or the kind of fault.
using Outcome = std::variant<int, FaultKind>;

Outcome ConvertStrictly(const char* text, char separator) {
  try {
    return TextToInt16(text, separator, "value");
  } catch (const Fault& fault) {
    return fault.kind();
  }
}

TEST(StrictReading, ConvertsWholeTextsRoundingHalfToEvenOrFaults) {
  constexpr auto kMismatch = FaultKind::TypeMismatch;
  constexpr auto kOverflow = FaultKind::Overflow;
  const struct {
    const char* text;
    char separator;
    Outcome expected;
  } cases[] = {
      {"25", '.', 25},          {"2.5", '.', 2},          {"3.5", '.', 4},
      {"-2.5", '.', -2},        {" 7 ", '.', 7},          {"\t7\t", '.', 7},
      {"1e1", '.', 10},         {"1E+1", '.', 10},        {"+4", '.', 4},
      {".5", '.', 0},           {"1.", '.', 1},           {"1e-999", '.', 0},
      {"32767", '.', 32767},    {"-32768", '.', -32768},  {"32767.4", '.', 32767},
      {"3,5", ',', 4},          {"3.5", ',', kMismatch},  {"3,5", '.', kMismatch},
      {"", '.', kMismatch},     {"12abc", '.', kMismatch}, {"1 2", '.', kMismatch},
      {"1e+", '.', kMismatch},  {"0x10", '.', kMismatch},  {"inf", '.', kMismatch},
      {"nan", '.', kMismatch},  {"1,000", '.', kMismatch},
      {"40000", '.', kOverflow}, {"32767.5", '.', kOverflow}, {"-32768.6", '.', kOverflow},
      {"-32769", '.', kOverflow}, {"1e400", '.', kOverflow},
      {"99999999999999999999999", '.', kOverflow},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConvertStrictly(c.text, c.separator), c.expected)
        << "text \"" << c.text << "\" with separator '" << c.separator << "'";
  }
}

TEST(LenientReading, ReadsUpToWhatCannotContinueTheNumber) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {" 123", 123}, {":123", 0},   {"", 0},      {"12.5", 12.5}, {"1 2 3", 123}, {"- 5", -5},
      {"\t\n7", 7},  {"12abc", 12}, {"12e", 12},  {"1e2x", 100},  {"12e+", 12},   {"a 123", 0},
      {"-", 0},      {".5", 0.5},   {"0x1F", 0},  {"1.5.5", 1.5}, {"+8", 8},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(ReadLeadingNumber(c.text), c.expected) << "text \"" << c.text << "\"";
  }
}

}  // namespace
}  // namespace fq
