#include "model/number_text.h"

#include <charconv>
#include <cmath>
#include <cstddef>

namespace vlm {
namespace {

constexpr size_t kMaxNumberText = 256;

// Copies the number characters into `buffer`, with '.' as the decimal point and the
// grouping separators left out. Returns the length, 0 when nothing is usable.
size_t cleanNumber(const char* text, char decimalSeparator, char* buffer, bool wholeOnly) {
  const char grouping = decimalSeparator == ',' ? '.' : ',';
  size_t n = 0;
  const char* c = text;
  while (*c == ' ' || *c == '\t') ++c;
  if (*c == '+') ++c;
  for (; *c != '\0' && n + 1 < kMaxNumberText; ++c) {
    const char ch = *c;
    if (ch == grouping) continue;
    if (ch == decimalSeparator) {
      if (wholeOnly) break;
      buffer[n++] = '.';
      continue;
    }
    const bool digit = ch >= '0' && ch <= '9';
    const bool sign = ch == '-' && n == 0;
    const bool exponent = !wholeOnly && (ch == 'e' || ch == 'E' ||
                                         ((ch == '-' || ch == '+') && n > 0 &&
                                          (buffer[n - 1] == 'e' || buffer[n - 1] == 'E')));
    if (!digit && !sign && !exponent) break;
    buffer[n++] = ch;
  }
  buffer[n] = '\0';
  return n;
}

}  // namespace

bool parseRealText(const char* text, char decimalSeparator, float& out) {
  if (text == nullptr) return false;
  char buffer[kMaxNumberText];
  const size_t n = cleanNumber(text, decimalSeparator, buffer, false);
  if (n == 0) return false;
  // Straight to float: a shortest float text reads back as exactly its float.
  float value = 0.0f;
  const auto result = std::from_chars(buffer, buffer + n, value);
  if (result.ec != std::errc() || result.ptr == buffer) return false;
  if (!std::isfinite(value)) return false;
  out = value;
  return true;
}

bool parseIntegerText(const char* text, char decimalSeparator, int32_t& out) {
  if (text == nullptr) return false;
  char buffer[kMaxNumberText];
  const size_t n = cleanNumber(text, decimalSeparator, buffer, true);
  if (n == 0) return false;
  int64_t value = 0;
  const auto result = std::from_chars(buffer, buffer + n, value);
  if (result.ptr == buffer) return false;
  if (result.ec == std::errc::result_out_of_range) value = buffer[0] == '-' ? INT32_MIN : INT32_MAX;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  out = static_cast<int32_t>(value);
  return true;
}

}  // namespace vlm
