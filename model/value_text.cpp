#include "model/value_text.h"

#include <cstdio>

#include "data/number_text.h"
#include "data/text_pool.h"

namespace vlm {

std::string integerValueText(int64_t value, bool group, const platform::RegionalSettings& regional) {
  std::string text = integerText(value);
  if (group) groupDigits(text, regional);
  return text;
}

std::string realValueText(float value, bool group, const platform::RegionalSettings& regional) {
  std::string text = realText(value, regional);
  if (group) groupDigits(text, regional);
  return text;
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
    platform::RegionalSettings fraction = regional;
    fraction.decimalSeparator = regional.decimalSeparatorKnown ? regional.decimalSeparator : ',';
    std::snprintf(buffer, sizeof buffer, " %i%c%02i%c%02i%c%03i", e.hour, regional.timeSeparator,
                  e.minute, regional.timeSeparator, e.second, fraction.decimalSeparator, e.millisecond);
    std::string time = buffer;
    normaliseNumberText(time, 1, fraction);
    text += time;
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
      return integerValueText(d.value, false, regional);
    case FT_REAL:
      return realValueText(d.fvalue, false, regional);
    default:
      return kEmptyValueText;
  }
}

}  // namespace vlm
