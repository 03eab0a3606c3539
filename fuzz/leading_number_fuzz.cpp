// The lenient reading of the number after "/A": never fails, and the 32-bit conversion
// either faults with an overflow or lands within a half of the number.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/fault.h"
#include "numbers/readings.h"
#include "numbers/rounding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double number = fq::ReadLeadingNumber(text);
  if (std::isnan(number)) std::abort();
  try {
    const int32_t value = fq::RoundToInt32(number, "fuzz");
    if (std::fabs(number - value) > 0.5) std::abort();
  } catch (const fq::Fault& fault) {
    if (fault.kind() != fq::FaultKind::Overflow) std::abort();
    if (std::nearbyint(number) >= -2147483648.0 && std::nearbyint(number) <= 2147483647.0) {
      std::abort();
    }
  }
  return 0;
}
