#include "startup/number_text.h"

#include <gtest/gtest.h>

#include "platform/fault.h"

namespace fq {
namespace {

FaultKind FaultOf(std::string_view text, char separator = '.') {
  try {
    TextToInt16(text, separator, "value");
  } catch (const Fault& fault) {
    return fault.kind();
  }
  ADD_FAILURE() << "no fault for \"" << text << "\"";
  return FaultKind::PlatformFailure;
}

TEST(StoredTextToInt16, ConvertsNumbersRoundingHalfToEven) {
  const struct {
    const char* text;
    int16_t expected;
  } cases[] = {
      {"25", 25},     {"2.5", 2},       {"3.5", 4},     {"-2.5", -2},  {" 7 ", 7},
      {"\t7\t", 7},   {"1e1", 10},      {"1E+1", 10},   {"2.5e0", 2},  {"-3", -3},
      {"+4", 4},      {"32767", 32767}, {"-32768", -32768},            {"32767.4", 32767},
      {".5", 0},      {"1.", 1},        {"1e-999", 0},  {"0.000", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToInt16(c.text, '.', "value"), c.expected) << "text \"" << c.text << "\"";
  }
}

TEST(StoredTextToInt16, UsesTheLocaleDecimalSeparatorOnly) {
  EXPECT_EQ(TextToInt16("3,5", ',', "value"), 4);
  EXPECT_EQ(FaultOf("3.5", ','), FaultKind::TypeMismatch);
  EXPECT_EQ(FaultOf("3,5", '.'), FaultKind::TypeMismatch);
}

TEST(StoredTextToInt16, TextThatIsNoNumberIsATypeMismatch) {
  for (const char* text : {"", " ", "abc", "12abc", "1 2", "e5", "1e", "1e+", "--1", "+",
                           ".", "0x10", "inf", "nan", "1,000"}) {
    EXPECT_EQ(FaultOf(text), FaultKind::TypeMismatch) << "text \"" << text << "\"";
  }
}

TEST(StoredTextToInt16, ValuesOutside16BitsOverflow) {
  for (const char* text : {"40000", "32767.5", "32768", "-32768.6", "-32769", "1e5", "1e400",
                           "99999999999999999999999"}) {
    EXPECT_EQ(FaultOf(text), FaultKind::Overflow) << "text \"" << text << "\"";
  }
}

TEST(LeadingNumber, ReadsLenientlyUpToWhatCannotContinue) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {" 123", 123},   {"123", 123},     {":123", 0},       {"", 0},        {"12.5", 12.5},
      {"1 2 3", 123},  {"- 5", -5},      {"\t\n7", 7},      {"12abc", 12},  {"12e", 12},
      {"1e2x", 100},   {"12e+", 12},     {"a 123", 0},      {"-", 0},       {".5", 0.5},
      {"0x1F", 0},     {"1.5.5", 1.5},   {"+8", 8},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(ReadLeadingNumber(c.text), c.expected) << "text \"" << c.text << "\"";
  }
}

TEST(RoundToInt32, RoundsHalfToEvenAndOverflowsPastTheRange) {
  EXPECT_EQ(RoundToInt32(12.5, "h"), 12);
  EXPECT_EQ(RoundToInt32(13.5, "h"), 14);
  EXPECT_EQ(RoundToInt32(-2147483648.0, "h"), INT32_MIN);
  EXPECT_EQ(RoundToInt32(2147483647.4, "h"), INT32_MAX);
  EXPECT_THROW(RoundToInt32(2147483647.5, "h"), Fault);
  EXPECT_THROW(RoundToInt32(12345678901.0, "h"), Fault);
  EXPECT_THROW(RoundToInt32(ReadLeadingNumber(std::string(300, '9')), "h"), Fault);
}

}  // namespace
}  // namespace fq
