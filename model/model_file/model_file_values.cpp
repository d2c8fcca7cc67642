#include "model/model_file/model_file_values.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "data/number_text.h"

namespace vlm {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Leading blanks of the C library's number reading.
size_t skipBlanks(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  return i;
}

}  // namespace

std::string modelRealText(float value) {
  if (!std::isfinite(value)) value = 0.0f;  // a file never holds "nan" or "inf"
  // The fewest digits that read back as this float (0.1f is "0.1", not a
  // long run of digits), so that a file read back gives the same model.
  const float magnitude = std::fabs(value);
  const bool scientific = magnitude != 0.0f && (magnitude < 1e-4f || magnitude >= 16777216.0f);
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    scientific ? std::chars_format::scientific : std::chars_format::fixed);
  std::string text(buffer, result.ptr);
  if (scientific) return text;
  platform::RegionalSettings dot;
  dot.decimalSeparator = '.';
  normaliseNumberText(text, 1, dot);
  return text;
}

float readModelReal(std::string_view text) {
  size_t i = skipBlanks(text);
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') number.push_back('-');
    ++i;
  }
  bool digits = false;
  while (i < text.size() && isDigit(text[i])) {
    number.push_back(text[i++]);
    digits = true;
  }
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    number.push_back('.');
    ++i;
    while (i < text.size() && isDigit(text[i])) {
      number.push_back(text[i++]);
      digits = true;
    }
  }
  if (!digits) return 0.0f;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent.push_back(text[j++]);
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) exponent.push_back(text[j++]);
      number += exponent;
    }
  }
  float value = 0.0f;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large for a float: the largest one of its sign; too small: zero.
    const bool negative = number.front() == '-';
    const double wide = std::strtod(number.c_str(), nullptr);
    if (std::fabs(wide) < 1.0) return negative ? -0.0f : 0.0f;
    return negative ? std::numeric_limits<float>::lowest() : std::numeric_limits<float>::max();
  }
  if (result.ec != std::errc() || !std::isfinite(value)) return 0.0f;
  return value;
}

int32_t readModelInteger(std::string_view text) {
  size_t i = skipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  while (i < text.size() && isDigit(text[i])) {
    value = value * 10 + (text[i++] - '0');
    if (value > int64_t{1} << 32) value = int64_t{1} << 32;  // stays above the limits
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

bool readModelSwitch(std::string_view text) { return readModelInteger(text) == 1; }

std::string upperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

int32_t findKeyword(std::string_view text, std::initializer_list<const char*> keywords) {
  const std::string upper = upperAscii(text);
  int32_t position = 0;
  for (const char* keyword : keywords) {
    if (upper.find(keyword) != std::string::npos) return position;
    ++position;
  }
  return -1;
}

}  // namespace vlm
