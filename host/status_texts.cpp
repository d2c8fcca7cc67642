#include "host/status_texts.h"

#include <algorithm>
#include <cstdio>

namespace vlm::host {

std::string hitsText(int64_t rows, int64_t sourceRows) {
  if (rows == 1) return "1 hit";
  char text[96];
  if (sourceRows != 0 && sourceRows != rows)
    std::snprintf(text, sizeof text, " %lld hits (%lld total in database)", static_cast<long long>(rows),
                  static_cast<long long>(sourceRows));
  else
    std::snprintf(text, sizeof text, " %lld hits", static_cast<long long>(rows));
  return text;
}

std::string shortenedPercentage(double percent, char sep) {
  char formatted[64];
  std::snprintf(formatted, sizeof formatted, "%.3f", percent);
  std::string s = formatted;
  if (sep == 0) return s + "%";
  const size_t last = s.find_last_of(".,");
  if (last != std::string::npos) {
    std::string out;
    size_t at = std::string::npos;
    for (size_t i = 0; i < s.size(); ++i) {
      if (i == last) {
        at = out.size();
        out.push_back(sep);
      } else if (s[i] != '.' && s[i] != ',') {
        out.push_back(s[i]);
      }
    }
    while (out.size() > at + 2 && (out.back() == '0' || out.back() == ' ')) out.pop_back();
    if (out.size() == at + 2 && out.back() == '0') out.resize(at);
    s = out;
  }
  return s + "%";
}

std::string selectionText(int64_t selected, int64_t rows, int64_t sourceRows, char sep) {
  if (rows <= 0) return hitsText(rows, sourceRows);
  const double percent = static_cast<double>(selected) * 100.0 / static_cast<double>(rows);
  return std::to_string(selected) + " selected (" + shortenedPercentage(percent, sep) + ")";
}

int64_t progressValue(int64_t current, int64_t last) {
  if (last <= 0) return 0;
  if (current > last) current = (current - 1) % last + 1;  // as repeated subtraction, in one step
  return current;
}

int progressFill(int width, int64_t current, int64_t first, int64_t last) {
  if (first == last || width <= 0) return 0;
  const double f = static_cast<double>(width) * static_cast<double>(current) / static_cast<double>(last - first);
  return static_cast<int>(std::clamp(f, 0.0, static_cast<double>(width)));
}

}  // namespace vlm::host
