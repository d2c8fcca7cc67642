#include "data/time_text.h"

#include <cstdio>

#include "data/month_names.h"
#include "data/text_buffer.h"
#include "data/time_table.h"

namespace vlm {
namespace {

std::string monthText(int month) {
  const std::string_view name = shortMonthName(month);
  if (!name.empty()) return std::string(name);
  return std::to_string(month);
}

std::string datePart(const TimeEntry& e, int order) {
  char buffer[64];
  const int y = e.year, m = e.month, d = e.day;
  if (y == 0) {
    if (order == 1)
      std::snprintf(buffer, sizeof buffer, "%i-%i", d, m);
    else
      std::snprintf(buffer, sizeof buffer, "%i-%i", m, d);
    return buffer;
  }
  const std::string name = monthText(m);
  if (d != 0) {
    if (order == 1)
      std::snprintf(buffer, sizeof buffer, "%i-%s-%i", d, name.c_str(), y);
    else if (order == 2)
      std::snprintf(buffer, sizeof buffer, "%i-%s-%i", y, name.c_str(), d);
    else
      std::snprintf(buffer, sizeof buffer, "%s %i-%i", name.c_str(), d, y);
    return buffer;
  }
  if (order == 2)
    std::snprintf(buffer, sizeof buffer, "%i %s", y, name.c_str());
  else
    std::snprintf(buffer, sizeof buffer, "%s %i", name.c_str(), y);
  return buffer;
}

std::string timePart(const TimeEntry& e, const platform::RegionalSettings& regional) {
  char buffer[64];
  const char ts = regional.timeSeparator;
  std::snprintf(buffer, sizeof buffer, "%i%c%02i%c%02i", int(e.hour), ts, int(e.minute), ts, int(e.second));
  std::string text = buffer;
  if (e.millisecond != 0) {
    // The fraction alone is trimmed, so a '.' or ',' time separator survives.
    std::snprintf(buffer, sizeof buffer, "%03i", int(e.millisecond));
    std::string fraction = buffer;
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    text.push_back(regional.decimalSeparator);
    text += fraction;
  }
  return text;
}

}  // namespace

std::string timeText(const TimeEntry& e, const platform::RegionalSettings& regional) {
  std::string text;
  if (e.year != 0 || e.month != 0 || e.day != 0) text = datePart(e, regional.dateOrder);
  if (e.hour != 0 || e.minute != 0 || e.second != 0 || e.millisecond != 0) {
    if (!text.empty()) text.push_back(' ');
    text += timePart(e, regional);
  }
  return text;
}

size_t timeTextAt(const TimeTable& table, int32_t index, const platform::RegionalSettings& regional, char* dst,
                  size_t size) {
  const TimeEntry* entry = timeEntry(table, index);
  return writeText(dst, size, entry ? timeText(*entry, regional) : std::string());
}

}  // namespace vlm
