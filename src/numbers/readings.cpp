#include "numbers/readings.h"

#include <cstdlib>
#include <string>

#include "base/fault.h"
#include "numbers/rounding.h"

namespace fq {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsStrictBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLenientBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Digits, '.' and exponent in the "C" form that strtod reads regardless of the locale.
// A result too small for a double underflows towards 0, which is the right number here; one
// too large comes back as an infinity, which the rounding reports as an overflow.
double ParseCanonical(const std::string& canonical) {
  return std::strtod(canonical.c_str(), nullptr);
}

// Collects digits from `text` at `pos` into `out`; returns how many were read.
size_t TakeDigits(std::string_view text, size_t& pos, std::string& out) {
  const size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) out += text[pos++];
  return pos - start;
}

}  // namespace

std::optional<double> ParseStrictNumber(std::string_view text, char decimal_separator) {
  size_t pos = 0;
  while (pos < text.size() && IsStrictBlank(text[pos])) ++pos;
  std::string canonical;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) canonical += text[pos++];
  size_t mantissa_digits = TakeDigits(text, pos, canonical);
  if (pos < text.size() && text[pos] == decimal_separator) {
    ++pos;
    canonical += '.';
    mantissa_digits += TakeDigits(text, pos, canonical);
  }
  if (mantissa_digits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    canonical += 'e';
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) canonical += text[pos++];
    if (TakeDigits(text, pos, canonical) == 0) return std::nullopt;
  }
  while (pos < text.size() && IsStrictBlank(text[pos])) ++pos;
  if (pos != text.size()) return std::nullopt;
  return ParseCanonical(canonical);
}

double ReadLeadingNumber(std::string_view text) {
  // Blanks are dropped first, so that "1 2" reads as 12 and "- 5" as -5.
  std::string compact;
  for (char c : text) {
    if (!IsLenientBlank(c)) compact += c;
  }
  size_t pos = 0;
  std::string canonical;
  if (pos < compact.size() && (compact[pos] == '+' || compact[pos] == '-')) {
    canonical += compact[pos++];
  }
  size_t mantissa_digits = TakeDigits(compact, pos, canonical);
  if (pos < compact.size() && compact[pos] == '.') {
    ++pos;
    canonical += '.';
    mantissa_digits += TakeDigits(compact, pos, canonical);
  }
  if (mantissa_digits == 0) return 0.0;
  if (pos < compact.size() && (compact[pos] == 'e' || compact[pos] == 'E')) {
    size_t exponent_pos = pos + 1;
    std::string exponent = "e";
    if (exponent_pos < compact.size() && (compact[exponent_pos] == '+' || compact[exponent_pos] == '-')) {
      exponent += compact[exponent_pos++];
    }
    // An exponent without digits is not part of the number: "12e" reads as 12.
    if (TakeDigits(compact, exponent_pos, exponent) > 0) canonical += exponent;
  }
  return ParseCanonical(canonical);
}

int16_t TextToInt16(std::string_view text, char decimal_separator, std::string_view what) {
  const std::optional<double> number = ParseStrictNumber(text, decimal_separator);
  if (!number) throw Fault(FaultKind::TypeMismatch, std::string(what) + " is not a number.");
  return RoundToInt16(*number, what);
}

}  // namespace fq
