// The strict reading of stored and typed numbers, against a grammar written independently
// with std::regex: both must agree on what is a number, and the 16-bit conversion must either
// fault or land within a half of the number.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/fault.h"
#include "number_grammar.h"
#include "numbers/readings.h"
#include "numbers/rounding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char separator = (data[0] & 1) ? ',' : '.';
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  if (text.size() > 4096) return 0;

  const std::optional<double> number = fq::ParseStrictNumber(text, separator);
  if (number.has_value() != MatchesGrammar(text, separator)) std::abort();
  try {
    const int16_t value = fq::TextToInt16(text, separator, "fuzz");
    if (!number || std::fabs(*number - value) > 0.5) std::abort();
  } catch (const fq::Fault& fault) {
    const bool expected = !number ? fault.kind() == fq::FaultKind::TypeMismatch
                                  : fault.kind() == fq::FaultKind::Overflow &&
                                        !(std::nearbyint(*number) >= -32768 &&
                                          std::nearbyint(*number) <= 32767);
    if (!expected) std::abort();
  }
  return 0;
}
