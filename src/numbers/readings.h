// Numbers in text: the strict reading of a stored setting or a typed value, and the lenient
// reading of the number after "/A".
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace fq {

// The whole text as one number: optional blanks around it, a sign, digits, optionally the
// decimal separator with more digits, and an exponent. Nothing for any other text, the empty
// text included. A number too large for a double gives an infinity.
std::optional<double> ParseStrictNumber(std::string_view text, char decimal_separator);

// The number at the start of the text, read the lenient way: blanks (space, tab, line feed)
// are skipped wherever they stand; reading stops at the first character that cannot continue
// the number; a text that does not begin with a number gives 0. The separator is always '.'.
double ReadLeadingNumber(std::string_view text);

// The strict reading followed by rounding into 16 bits: a type-mismatch Fault for a text
// that is no number, an overflow Fault outside -32768..32767; `what` names the value.
int16_t TextToInt16(std::string_view text, char decimal_separator, std::string_view what);

}  // namespace fq
