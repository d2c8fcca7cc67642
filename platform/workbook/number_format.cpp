#include "platform/workbook/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace vlm::platform::workbook {
namespace {

constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr double kLastSerial = 2958466.0;  // 10000-01-01

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

struct Moment {
  int year = 1900, month = 1, day = 0, weekday = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  double elapsedDays = 0;  // for [h], [m], [s]
};

// `wholeSeconds`: rounded to the second, as a format without a fraction of
// a second shows it.
bool momentOf(double serial, bool date1904, bool wholeSeconds, Moment& out) {
  if (!std::isfinite(serial) || serial < 0 || serial >= kLastSerial) return false;
  int64_t days = static_cast<int64_t>(std::floor(serial));
  int64_t ms = std::llround((serial - static_cast<double>(days)) * 86400000.0);
  if (wholeSeconds) ms = (ms + 500) / 1000 * 1000;
  if (ms >= 86400000) {
    ++days;
    ms -= 86400000;
  }
  out.elapsedDays = serial;
  out.hour = static_cast<int>(ms / 3600000);
  out.minute = static_cast<int>(ms / 60000 % 60);
  out.second = static_cast<int>(ms / 1000 % 60);
  out.millisecond = static_cast<int>(ms % 1000);
  int64_t civil = 0;
  if (date1904) {
    civil = daysFromCivil(1904, 1, 1) + days;
  } else if (days == 60) {
    // The day the 1900 date system counts although it never was.
    out.year = 1900;
    out.month = 2;
    out.day = 29;
    out.weekday = 3;
    return true;
  } else if (days == 0) {
    out.year = 1900;
    out.month = 1;
    out.day = 0;
    out.weekday = 6;
    return true;
  } else {
    civil = daysFromCivil(1899, 12, 31) + days - (days > 60 ? 1 : 0);
  }
  civilFromDays(civil, out.year, out.month, out.day);
  out.weekday = static_cast<int>(((civil % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  return true;
}

enum class Kind { Literal, Year, Month, Day, Hour, Minute, Second, Fraction, AmPm, Elapsed };

struct Token {
  Kind kind = Kind::Literal;
  int width = 0;          // letters in the part (yyyy: 4)
  std::string text;       // literal text, or the AM/PM spelling
  char elapsed = 0;       // 'h', 'm' or 's' for [h], [m], [s]
};

std::string_view firstSection(std::string_view code) {
  bool quoted = false;
  for (size_t i = 0; i < code.size(); ++i) {
    if (code[i] == '"') quoted = !quoted;
    else if (!quoted && code[i] == '\\') ++i;
    else if (!quoted && code[i] == ';') return code.substr(0, i);
  }
  return code;
}

size_t runOf(std::string_view s, size_t i, char letter) {
  size_t n = 0;
  while (i + n < s.size() && lower(s[i + n]) == letter) ++n;
  return n;
}

std::vector<Token> tokenize(std::string_view code) {
  std::vector<Token> out;
  auto literal = [&](std::string_view text) {
    if (!out.empty() && out.back().kind == Kind::Literal) out.back().text.append(text);
    else out.push_back({Kind::Literal, 0, std::string(text), 0});
  };
  for (size_t i = 0; i < code.size();) {
    const char c = code[i];
    const char l = lower(c);
    if (c == '"') {
      const size_t end = code.find('"', i + 1);
      literal(code.substr(i + 1, (end == std::string_view::npos ? code.size() : end) - i - 1));
      i = end == std::string_view::npos ? code.size() : end + 1;
    } else if (c == '\\') {
      if (i + 1 < code.size()) literal(code.substr(i + 1, 1));
      i += 2;
    } else if (c == '_') {
      literal(" ");
      i += 2;
    } else if (c == '*') {
      i += 2;
    } else if (c == '[') {
      const size_t end = code.find(']', i);
      const std::string_view inside = code.substr(i + 1, (end == std::string_view::npos ? code.size() : end) - i - 1);
      if (!inside.empty() && runOf(inside, 0, lower(inside[0])) == inside.size() &&
          (lower(inside[0]) == 'h' || lower(inside[0]) == 'm' || lower(inside[0]) == 's'))
        out.push_back({Kind::Elapsed, static_cast<int>(inside.size()), {}, lower(inside[0])});
      i = end == std::string_view::npos ? code.size() : end + 1;
    } else if (l == 'a' && (code.substr(i, 5) == "AM/PM" || code.substr(i, 5) == "am/pm")) {
      out.push_back({Kind::AmPm, 5, std::string(code.substr(i, 5)), 0});
      i += 5;
    } else if (l == 'a' && (code.substr(i, 3) == "A/P" || code.substr(i, 3) == "a/p")) {
      out.push_back({Kind::AmPm, 3, std::string(code.substr(i, 3)), 0});
      i += 3;
    } else if (l == 'y' || l == 'm' || l == 'd' || l == 'h' || l == 's') {
      const size_t n = runOf(code, i, l);
      const Kind kind = l == 'y' ? Kind::Year : l == 'm' ? Kind::Month : l == 'd' ? Kind::Day : l == 'h' ? Kind::Hour : Kind::Second;
      out.push_back({kind, static_cast<int>(n), {}, 0});
      i += n;
    } else if (c == '.' && i + 1 < code.size() && code[i + 1] == '0' && !out.empty() &&
               (out.back().kind == Kind::Second || (out.back().kind == Kind::Elapsed && out.back().elapsed == 's'))) {
      const size_t n = runOf(code, i + 1, '0');
      out.push_back({Kind::Fraction, static_cast<int>(n), {}, 0});
      i += 1 + n;
    } else if (c == '@' || c == '0' || c == '#' || c == '?') {
      ++i;  // digit places have no meaning in a date
    } else {
      literal(code.substr(i, 1));
      ++i;
    }
  }
  // "m" and "mm" are minutes right after hours or right before seconds.
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i].kind != Kind::Month || out[i].width > 2) continue;
    auto previous = [&]() -> const Token* {
      for (size_t j = i; j-- > 0;)
        if (out[j].kind != Kind::Literal) return &out[j];
      return nullptr;
    };
    auto following = [&]() -> const Token* {
      for (size_t j = i + 1; j < out.size(); ++j)
        if (out[j].kind != Kind::Literal) return &out[j];
      return nullptr;
    };
    const Token* p = previous();
    const Token* n = following();
    if ((p && (p->kind == Kind::Hour || (p->kind == Kind::Elapsed && p->elapsed == 'h'))) ||
        (n && (n->kind == Kind::Second || (n->kind == Kind::Elapsed && n->elapsed == 's'))))
      out[i].kind = Kind::Minute;
  }
  return out;
}

std::string padded(int64_t value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  return digits;
}

}  // namespace

std::string numberText(double value) {
  if (std::isnan(value) || std::isinf(value)) return "#NUM!";
  if (value == 0) return "0";
  if (std::fabs(value) < 1e15 && value == std::floor(value)) return padded(static_cast<int64_t>(value), 1);
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return std::string(buffer, r.ptr);
}

bool isDateFormat(std::string_view formatCode) {
  for (const Token& t : tokenize(firstSection(formatCode)))
    if (t.kind != Kind::Literal && t.kind != Kind::AmPm) return true;
  return false;
}

std::string_view builtinFormat(int id) {
  switch (id) {
    case 0: return "General";
    case 1: return "0";
    case 2: return "0.00";
    case 3: return "#,##0";
    case 4: return "#,##0.00";
    case 9: return "0%";
    case 10: return "0.00%";
    case 11: return "0.00E+00";
    case 12: return "# ?/?";
    case 13: return "# ?\?/??";
    case 14: return "yyyy-mm-dd";
    case 15: return "d-mmm-yy";
    case 16: return "d-mmm";
    case 17: return "mmm-yy";
    case 18: return "h:mm AM/PM";
    case 19: return "h:mm:ss AM/PM";
    case 20: return "h:mm";
    case 21: return "h:mm:ss";
    case 22: return "yyyy-mm-dd h:mm";
    case 37: return "#,##0 ;(#,##0)";
    case 38: return "#,##0 ;[Red](#,##0)";
    case 39: return "#,##0.00;(#,##0.00)";
    case 40: return "#,##0.00;[Red](#,##0.00)";
    case 45: return "mm:ss";
    case 46: return "[h]:mm:ss";
    case 47: return "mm:ss.0";
    case 48: return "##0.0E+0";
    case 49: return "@";
    default: return {};
  }
}

std::string dateText(double serial, std::string_view formatCode, bool date1904) {
  const std::vector<Token> tokens = tokenize(firstSection(formatCode));
  bool twelveHour = false, fraction = false;
  for (const Token& t : tokens) {
    twelveHour |= t.kind == Kind::AmPm;
    fraction |= t.kind == Kind::Fraction;
  }
  Moment m;
  if (!momentOf(serial, date1904, !fraction, m)) return {};
  std::string out;
  for (const Token& t : tokens) {
    switch (t.kind) {
      case Kind::Literal: out += t.text; break;
      case Kind::Year: out += t.width <= 2 ? padded(m.year % 100, 2) : padded(m.year, 4); break;
      case Kind::Month:
        if (t.width <= 2) out += padded(m.month, t.width);
        else if (t.width == 3) out += std::string_view(kMonths[m.month - 1]).substr(0, 3);
        else if (t.width == 5) out += kMonths[m.month - 1][0];
        else out += kMonths[m.month - 1];
        break;
      case Kind::Day:
        if (t.width <= 2) out += padded(m.day, t.width);
        else if (t.width == 3) out += std::string_view(kDays[m.weekday]).substr(0, 3);
        else out += kDays[m.weekday];
        break;
      case Kind::Hour: {
        int hour = m.hour;
        if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
        out += padded(hour, std::min(t.width, 2));
        break;
      }
      case Kind::Minute: out += padded(m.minute, std::min(t.width, 2)); break;
      case Kind::Second: out += padded(m.second, std::min(t.width, 2)); break;
      case Kind::Fraction: {
        const std::string ms = padded(m.millisecond, 3);
        out += ".";
        out += ms.substr(0, static_cast<size_t>(std::min(t.width, 3)));
        break;
      }
      case Kind::AmPm: {
        const bool pm = m.hour >= 12;
        if (t.width == 5) out += t.text[0] == 'a' ? (pm ? "pm" : "am") : (pm ? "PM" : "AM");
        else out += t.text[0] == 'a' ? (pm ? "p" : "a") : (pm ? "P" : "A");
        break;
      }
      case Kind::Elapsed: {
        const double seconds = std::floor(m.elapsedDays * 86400.0 + 0.5);
        const int64_t total = static_cast<int64_t>(seconds);
        const int64_t value = t.elapsed == 'h' ? total / 3600 : t.elapsed == 'm' ? total / 60 : total;
        out += padded(value, t.width);
        break;
      }
    }
  }
  return out;
}

}  // namespace vlm::platform::workbook
