#include "data/number_text.h"

#include <charconv>
#include <cmath>

namespace vlm {

void normaliseNumberText(std::string& text, NumberFormatClass numberClass, const platform::RegionalSettings& regional) {
  const size_t percent = text.rfind('%');
  const bool hadPercent = percent != std::string::npos;
  if (hadPercent) text.resize(percent);

  const size_t lastDot = text.rfind('.');
  const size_t lastComma = text.rfind(',');
  size_t point = std::string::npos;
  if (lastDot != std::string::npos && lastComma != std::string::npos)
    point = lastDot > lastComma ? lastDot : lastComma;
  else if (numberClass == 1 || numberClass == 3)
    point = lastDot != std::string::npos ? lastDot : lastComma;

  std::string out;
  out.reserve(text.size() + 1);
  size_t separatorAt = std::string::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (i == point) {
      separatorAt = out.size();
      out.push_back(regional.decimalSeparator);
    } else if (c != '.' && c != ',') {
      out.push_back(c);
    }
  }
  if (separatorAt != std::string::npos) {
    while (out.size() > separatorAt + 2 && (out.back() == '0' || out.back() == ' ')) out.pop_back();
    if (out.size() == separatorAt + 2 && out.back() == '0') out.resize(separatorAt);
  }
  if (hadPercent) out.push_back('%');
  text.swap(out);
}

void groupDigits(std::string& text, const platform::RegionalSettings& regional) {
  const char groupMark = regional.decimalSeparator == ',' ? '.' : ',';
  size_t start = 0;
  while (start < text.size() && (text[start] == '-' || text[start] == '+')) ++start;
  size_t end = start;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  // Only a whole integer part ended by the separator or the text's end is grouped.
  if (end < text.size() && text[end] != regional.decimalSeparator) return;
  const size_t digits = end - start;
  if (digits <= 3) return;
  std::string out(text, 0, start);
  out.reserve(text.size() + digits / 3);
  for (size_t i = 0; i < digits; ++i) {
    if (i > 0 && (digits - i) % 3 == 0) out.push_back(groupMark);
    out.push_back(text[start + i]);
  }
  out.append(text, end, std::string::npos);
  text.swap(out);
}

std::string integerText(int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string realText(float value, const platform::RegionalSettings& regional) {
  if (!std::isfinite(value)) return value != value ? "nan" : (value < 0 ? "-inf" : "inf");
  // The fewest digits that read back as this float: 100.1f prints "100.1",
  // not the "100.099998" of six fixed decimals. From 2^24 on a float no longer
  // holds every whole number, and below 1e-4 fixed digits would run long:
  // there the digits go in scientific notation ("1.2345679e+14", "1e-07"),
  // so a value beyond the float's precision never poses as an exact integer.
  const float magnitude = std::fabs(value);
  const bool scientific = magnitude != 0.0f && (magnitude < 1e-4f || magnitude >= 16777216.0f);
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    scientific ? std::chars_format::scientific : std::chars_format::fixed);
  std::string text(buffer, result.ptr);
  if (scientific) {
    // The mantissa carries no trailing zeros to trim; only its point changes.
    const size_t point = text.find('.');
    if (point != std::string::npos) text[point] = regional.decimalSeparator;
    return text;
  }
  normaliseNumberText(text, 1, regional);
  return text;
}

bool readRealText(std::string_view text, const platform::RegionalSettings& regional, double& value) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  std::string copy;
  copy.reserve(text.size() - i);
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == regional.decimalSeparator)
      c = '.';
    else if (c == '.')
      c = '#';  // not this locale's decimal point: the number ends here
    copy.push_back(c);
  }
  size_t begin = 0;
  if (!copy.empty() && copy[0] == '+') begin = 1;
  // from_chars also knows "inf" and "nan"; a number text starts with a digit,
  // a sign or the point.
  if (begin < copy.size()) {
    const char first = copy[begin] == '-' && begin + 1 < copy.size() ? copy[begin + 1] : copy[begin];
    if (!(first >= '0' && first <= '9') && first != '.') return false;
  }
  double parsed = 0;
  const auto result = std::from_chars(copy.data() + begin, copy.data() + copy.size(), parsed);
  if (result.ec != std::errc() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

}  // namespace vlm
