// Whole numbers from real ones, and 16-bit sprite arithmetic. Conversions round to the nearest
// whole number, a half to the even neighbour, and fault outside the target range; sprite
// arithmetic is unchecked and wraps.
#pragma once

#include <cstdint>
#include <string_view>

namespace fq {

// Throw an overflow Fault outside the target range; `what` names the value in its text.
int16_t RoundToInt16(double value, std::string_view what);
int32_t RoundToInt32(double value, std::string_view what);

// Computed in 32 bits and narrowed, which C++20 defines as modulo 2^16.
constexpr int16_t Wrap16(int32_t value) { return static_cast<int16_t>(value); }

}  // namespace fq
