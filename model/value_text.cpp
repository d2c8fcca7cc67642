#include "model/value_text.h"

#include <cctype>
#include <cstdio>

#include "data/text_pool.h"

namespace vlm {

std::string groupDigits(const std::string& text, char decimalSeparator) {
  size_t end = text.find(decimalSeparator);
  if (end == std::string::npos) end = text.size();
  size_t begin = 0;
  while (begin < end && !std::isdigit(static_cast<unsigned char>(text[begin]))) ++begin;
  size_t digitsEnd = begin;
  while (digitsEnd < end && std::isdigit(static_cast<unsigned char>(text[digitsEnd]))) ++digitsEnd;
  std::string out = text.substr(0, begin);
  const size_t digits = digitsEnd - begin;
  for (size_t i = 0; i < digits; ++i) {
    if (i > 0 && (digits - i) % 3 == 0) out += ',';
    out += text[begin + i];
  }
  out += text.substr(digitsEnd);
  return out;
}

std::string normaliseNumberText(std::string text, int32_t formatClass, char decimalSeparator) {
  const size_t percent = text.rfind('%');
  if (percent != std::string::npos) text[percent] = '0';
  const size_t dot = text.rfind('.');
  const size_t comma = text.rfind(',');
  size_t point = std::string::npos;
  if (dot != std::string::npos && comma != std::string::npos) {
    point = dot > comma ? dot : comma;
  } else if (formatClass == 1 || formatClass == 3) {
    point = dot != std::string::npos ? dot : comma;
  }
  std::string out;
  out.reserve(text.size() + 1);
  size_t separatorAt = std::string::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (i == point) {
      separatorAt = out.size();
      out += decimalSeparator;
    } else if (c != '.' && c != ',') {
      out += c;
    }
  }
  if (separatorAt != std::string::npos) {
    while (out.size() > separatorAt + 2 && (out.back() == '0' || out.back() == ' ')) out.pop_back();
    if (out.size() == separatorAt + 2 && out[separatorAt + 1] == '0') out.resize(separatorAt);
  }
  if (percent != std::string::npos) out += '%';
  return out;
}

std::string integerValueText(int64_t value, bool group) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
  return group ? groupDigits(buffer, '.') : std::string(buffer);
}

std::string realValueText(float value, char decimalSeparator, bool group) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
  std::string text = normaliseNumberText(buffer, 1, decimalSeparator);
  return group ? groupDigits(text, decimalSeparator) : text;
}

std::string timeEntryText(const TimeEntry& e, const platform::RegionalSettings& regional) {
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const char* month = (e.month >= 1 && e.month <= 12) ? kMonths[e.month - 1] : "";
  const int order = regional.dateOrder;
  char buffer[128] = {};
  std::string text;
  if (e.year != 0 || e.month != 0 || e.day != 0) {
    if (e.year == 0) {
      if (order == 1) std::snprintf(buffer, sizeof buffer, "%i%c%i", e.day, '-', e.month);
      else std::snprintf(buffer, sizeof buffer, "%i%c%i", e.month, '-', e.day);
    } else if (e.day != 0) {
      if (order == 0) std::snprintf(buffer, sizeof buffer, "%s %i%c%i", month, e.day, '-', e.year);
      else if (order == 1)
        std::snprintf(buffer, sizeof buffer, "%i%c%s%c%i", e.day, '-', month, '-', e.year);
      else std::snprintf(buffer, sizeof buffer, "%i%c%s%c%i", e.year, '-', month, '-', e.day);
    } else {
      if (order == 2) std::snprintf(buffer, sizeof buffer, "%i %s", e.year, month);
      else std::snprintf(buffer, sizeof buffer, "%s %i", month, e.year);
    }
    text = buffer;
  }
  if (e.hour != 0 || e.minute != 0 || e.second != 0 || e.millisecond != 0) {
    const char decimal = regional.decimalSeparatorKnown ? regional.decimalSeparator : ',';
    std::snprintf(buffer, sizeof buffer, " %i%c%02i%c%02i%c%03i", e.hour, regional.timeSeparator,
                  e.minute, regional.timeSeparator, e.second, decimal, e.millisecond);
    text += normaliseNumberText(buffer, 1, decimal);
  }
  return text;
}

std::string categoryText(const DataTable& table, const DataField& field, int32_t index,
                         const platform::RegionalSettings& regional) {
  if (index < 0 || index >= field.distinctCount ||
      static_cast<size_t>(index) >= field.distinct.size()) {
    return kEmptyValueText;
  }
  const DistinctValue& d = field.distinct[static_cast<size_t>(index)];
  if (d.flags & kDistinctEmpty) return kEmptyValueText;
  switch (field.type) {
    case FT_TEXT:
    case FT_TEXT2:
      if (const auto text = poolText(table.textPool, d.value)) return std::string(*text);
      return kEmptyValueText;
    case FT_DATETIME:
      if (d.value >= 0 && static_cast<size_t>(d.value) < table.timeTable.entries.size()) {
        return timeEntryText(table.timeTable.entries[static_cast<size_t>(d.value)], regional);
      }
      return kEmptyValueText;
    case FT_INTEGER:
      return integerValueText(d.value, false);
    case FT_REAL:
      return realValueText(d.fvalue, regional.decimalSeparator, false);
    default:
      return kEmptyValueText;
  }
}

}  // namespace vlm
