#include "platform/database/date_text.h"

#include <cmath>
#include <cstdio>

namespace vlm::platform::db {
namespace {

// The civil date of a day count from 1970-01-01 (proleptic Gregorian).
void civilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
}

}  // namespace

std::string unixTimeText(int64_t seconds) {
  // Beyond the years 0..9999 a date has no such text: the number stays.
  constexpr int64_t kLimit = 253402300799;  // 9999-12-31 23:59:59
  constexpr int64_t kFirst = -62167219200;  // 0000-01-01 00:00:00
  if (seconds > kLimit || seconds < kFirst) return std::to_string(seconds);
  int64_t days = seconds / 86400;
  int64_t rest = seconds % 86400;
  if (rest < 0) rest += 86400, --days;
  int64_t y = 0;
  unsigned m = 0, d = 0;
  civilFromDays(days, y, m, d);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld", static_cast<long long>(y), m, d,
                static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                static_cast<long long>(rest % 60));
  return text;
}

std::string julianDayText(double day) {
  if (!std::isfinite(day)) return {};
  // Julian day 2440587.5 is 1970-01-01 00:00:00.
  const double seconds = std::floor((day - 2440587.5) * 86400.0 + 0.5);
  if (seconds > 9.3e12 || seconds < -9.3e12) return {};
  return unixTimeText(static_cast<int64_t>(seconds));
}

}  // namespace vlm::platform::db
