#include "numbers/rounding.h"

#include <cmath>
#include <string>

#include "base/fault.h"

namespace fq {

// nearbyint rounds in the default mode, to nearest with ties to even.
int16_t RoundToInt16(double value, std::string_view what) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
    throw Fault(FaultKind::Overflow, std::string(what) + " is outside -32768 to 32767.");
  }
  return static_cast<int16_t>(rounded);
}

int32_t RoundToInt32(double value, std::string_view what) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
    throw Fault(FaultKind::Overflow, std::string(what) + " is outside -2147483648 to 2147483647.");
  }
  return static_cast<int32_t>(rounded);
}

}  // namespace fq
