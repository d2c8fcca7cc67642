#pragma once
// Reading numbers back from value texts, grouping included, whatever the C locale.
#include <cstdint>

namespace vlm {

// A real number; "," groups digits unless it is the decimal separator. False for a
// text without digits or a value that is not finite.
bool parseRealText(const char* text, char decimalSeparator, float& out);
// A whole number (the part before any decimal separator), grouping ignored and the
// result clamped to int32. False for a text without leading digits.
bool parseIntegerText(const char* text, char decimalSeparator, int32_t& out);

}  // namespace vlm
