#include "data/number_cell.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace vlm {
namespace {

constexpr size_t npos = std::string_view::npos;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAsciiLetter(char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

// A blank at `at`: the space, or a no-break space (U+00A0, U+202F) as
// spreadsheets write between digit groups. Gives its length in bytes, or 0.
size_t blankAt(std::string_view t, size_t at) {
  if (at >= t.size()) return 0;
  if (t[at] == ' ' || t[at] == '\t') return 1;
  if (t.compare(at, 2, "\xC2\xA0") == 0) return 2;
  if (t.compare(at, 3, "\xE2\x80\xAF") == 0) return 3;
  return 0;
}

// A blank ending right before `end`: its length, or 0.
size_t blankBefore(std::string_view t, size_t end) {
  if (end >= 1 && (t[end - 1] == ' ' || t[end - 1] == '\t')) return 1;
  if (end >= 2 && t.compare(end - 2, 2, "\xC2\xA0") == 0) return 2;
  if (end >= 3 && t.compare(end - 3, 3, "\xE2\x80\xAF") == 0) return 3;
  return 0;
}

// A currency sign at `at` ("$", "€", "£", "¥"): its length, or 0.
size_t currencySignAt(std::string_view t, size_t at) {
  if (at >= t.size()) return 0;
  if (t[at] == '$') return 1;
  if (t.compare(at, 3, "\xE2\x82\xAC") == 0) return 3;  // €
  if (t.compare(at, 2, "\xC2\xA3") == 0) return 2;      // £
  if (t.compare(at, 2, "\xC2\xA5") == 0) return 2;      // ¥
  return 0;
}

size_t currencySignBefore(std::string_view t, size_t end) {
  if (end >= 1 && t[end - 1] == '$') return 1;
  if (end >= 3 && t.compare(end - 3, 3, "\xE2\x82\xAC") == 0) return 3;
  if (end >= 2 && (t.compare(end - 2, 2, "\xC2\xA3") == 0 || t.compare(end - 2, 2, "\xC2\xA5") == 0)) return 2;
  return 0;
}

std::string_view trimBlanks(std::string_view t) {
  size_t begin = 0, end = t.size();
  while (size_t n = blankAt(t, begin)) begin += n;
  while (end > begin) {
    const size_t n = blankBefore(t, end);
    if (n == 0) break;
    end -= n;
  }
  return t.substr(begin, end - begin);
}

bool isSeparator(char c) { return c == '.' || c == ',' || c == ' '; }

// A number cell once read: sign, and its digits and separators with every
// blank written as ' '.
struct Scan {
  NumberKind kind = NumberKind::None;
  bool negative = false;
  char body[128];
  size_t length = 0;
  size_t point = npos;  // the decimal point the text shows
  size_t lone = npos;   // a lone separator before exactly three digits
  std::string_view text() const { return {body, length}; }
};

// Checks the digits and separators of a body and finds its decimal point.
NumberKind readBody(std::string_view body, size_t& point, size_t& lone) {
  point = lone = npos;
  if (body.size() >= 2 && (body.back() == '.' || body.back() == ',')) {
    // A trailing decimal point after plain digits ("5."), nothing else.
    for (size_t i = 0; i + 1 < body.size(); ++i)
      if (!isDigit(body[i])) return NumberKind::None;
    point = body.size() - 1;
    return NumberKind::Decimal;
  }
  if (body.empty() || !isDigit(body.back())) return NumberKind::None;
  size_t dots = 0, commas = 0, blanks = 0, lastDot = npos, lastComma = npos, lastBlank = npos;
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (isDigit(c)) continue;
    if (!isSeparator(c)) return NumberKind::None;
    if (i > 0 && !isDigit(body[i - 1])) return NumberKind::None;  // two separators in a row
    if (c == '.') ++dots, lastDot = i;
    if (c == ',') ++commas, lastComma = i;
    if (c == ' ') ++blanks, lastBlank = i;
  }
  if (!isDigit(body[0])) {
    // A leading decimal point (".5") and no other separator.
    if (body[0] == ' ' || dots + commas + blanks != 1) return NumberKind::None;
    point = 0;
    return NumberKind::Decimal;
  }
  if (dots && commas) {
    // The later kind is the decimal point: once, after every other separator.
    point = lastDot > lastComma ? lastDot : lastComma;
    if ((body[point] == '.' ? dots : commas) != 1) return NumberKind::None;
    if (blanks && lastBlank > point) return NumberKind::None;
  } else if (dots + commas == 1) {
    const size_t at = dots ? lastDot : lastComma;
    if (blanks) {
      // "1 234,5": the blanks group, the mark is the decimal point.
      if (lastBlank > at) return NumberKind::None;
      point = at;
    } else if (body.size() - at - 1 == 3 && at <= 3) {
      lone = at;  // "1,200" or "1.234": grouping or a decimal point
      return NumberKind::Whole;
    } else {
      point = at;
    }
  }
  // The groups of the whole part: after a grouping separator two or three
  // digits, the last group exactly three, the first at most three.
  const size_t wholeEnd = point != npos ? point : body.size();
  size_t groupStart = 0;
  bool first = true;
  for (size_t i = 0; i <= wholeEnd; ++i) {
    if (i < wholeEnd && isDigit(body[i])) continue;
    const size_t length = i - groupStart;
    const bool last = i == wholeEnd;
    if (!(first && last) && (first ? length > 3 : last ? length != 3 : (length < 2 || length > 3)))
      return NumberKind::None;
    first = false;
    groupStart = i + 1;
  }
  return point != npos ? NumberKind::Decimal : NumberKind::Whole;
}

// A run of 1..3 ASCII letters ending before a non-letter: a currency code.
size_t codeAt(std::string_view t, size_t at) {
  size_t n = 0;
  while (at + n < t.size() && isAsciiLetter(t[at + n])) ++n;
  return n >= 1 && n <= 3 ? n : 0;
}

size_t codeBefore(std::string_view t, size_t end) {
  size_t n = 0;
  while (n < end && isAsciiLetter(t[end - n - 1])) ++n;
  return n >= 1 && n <= 3 ? n : 0;
}

// Writes the digits of a body as a plain number: the integer digits, then the
// decimal point and the fraction. Returns the length, 0 when it does not fit.
size_t plainDigits(std::string_view body, size_t point, char* out, size_t capacity) {
  size_t n = 0;
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (i == point) {
      if (n + 1 >= capacity) return 0;
      out[n++] = '.';
    } else if (isDigit(c)) {
      if (n + 1 >= capacity) return 0;
      out[n++] = c;
    }
  }
  return n;
}

// The power of ten of a plain number's leading digit, roughly: enough to tell
// a number beyond the float range from one below it.
long decimalMagnitude(const char* begin, const char* end) {
  long whole = 0, leadingZeros = 0, exponent = 0;
  bool fraction = false, seen = false;
  const char* c = begin;
  for (; c != end && (*c | 0x20) != 'e'; ++c) {
    if (*c == '.') {
      fraction = true;
    } else if (*c != '0' || seen) {
      seen = true;
      if (!fraction) ++whole;
    } else if (fraction) {
      ++leadingZeros;
    }
  }
  if (c != end) {
    bool negative = false;
    ++c;
    if (c != end && (*c == '-' || *c == '+')) negative = *c++ == '-';
    for (; c != end && exponent < 100000; ++c) exponent = exponent * 10 + (*c - '0');
    if (negative) exponent = -exponent;
  }
  return (whole > 0 ? whole : -leadingZeros) + exponent;
}

// Reads a plain number ("1234.5", "1.5e-3") as float, correctly rounded; one
// beyond the float range is held at the limit, one below it is zero.
bool plainToFloat(const char* begin, const char* end, float& value) {
  float f = 0.0f;
  const auto result = std::from_chars(begin, end, f);
  if (result.ptr != end) return false;
  if (result.ec == std::errc::result_out_of_range)
    f = decimalMagnitude(begin, end) > 0 ? FLT_MAX : 0.0f;
  else if (result.ec != std::errc())
    return false;
  value = f;
  return true;
}

// A plain number of few digits: its digits as a whole number and the power of
// ten of its decimals are both floats exactly, and a float division rounds
// their quotient correctly, as reading the decimal text does. False when the
// number has too many digits for that.
bool shortPlainToFloat(std::string_view text, size_t point, float& value) {
  static constexpr float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
  if (text.size() > 12) return false;
  uint64_t whole = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (i != point) whole = whole * 10 + static_cast<uint64_t>(text[i] - '0');
  const size_t decimals = point == npos ? 0 : text.size() - point - 1;
  if (whole > (uint64_t{1} << 24) || decimals > 10) return false;
  value = static_cast<float>(whole) / kPowersOfTen[decimals];
  return true;
}

}  // namespace

bool isScientificNumber(std::string_view text) {
  const std::string_view t = trimBlanks(text);
  size_t i = 0;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
  size_t digits = 0;
  while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
    ++i;
    while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0 || i >= t.size() || (t[i] | 0x20) != 'e') return false;
  ++i;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
  size_t exponent = 0;
  while (i < t.size() && isDigit(t[i])) ++i, ++exponent;
  return exponent > 0 && i == t.size();
}

namespace {

Scan scanNumber(std::string_view text) {
  Scan scan;
  const std::string_view t = trimBlanks(text);
  if (t.empty()) return scan;
  if (isScientificNumber(t)) {
    scan.negative = t[0] == '-';
    const std::string_view mantissa = (t[0] == '-' || t[0] == '+') ? t.substr(1) : t;
    if (mantissa.size() > sizeof scan.body) return scan;
    for (char c : mantissa) scan.body[scan.length++] = c == ',' ? '.' : c;
    scan.kind = NumberKind::Scientific;
    return scan;
  }

  // Before the number: blanks, one sign, one currency sign or code.
  size_t begin = 0;
  bool sign = false, currencySign = false, code = false;
  while (begin < t.size() && !isDigit(t[begin])) {
    if (size_t n = blankAt(t, begin)) {
      begin += n;
    } else if (!sign && (t[begin] == '-' || t[begin] == '+')) {
      sign = true;
      scan.negative = t[begin] == '-';
      ++begin;
    } else if (size_t s = currencySign ? 0 : currencySignAt(t, begin)) {
      currencySign = true;  // "$", or "US$" after a code
      begin += s;
    } else if (size_t c = code || currencySign ? 0 : codeAt(t, begin)) {
      code = true;
      begin += c;
    } else if ((t[begin] == '.' || t[begin] == ',') && begin + 1 < t.size() && isDigit(t[begin + 1])) {
      break;  // a leading decimal point
    } else {
      return scan;
    }
  }
  // After it: blanks, a '%', one currency sign or code.
  const bool currency = currencySign || code;
  size_t end = t.size();
  bool percent = false, after = false;
  while (end > begin && !isDigit(t[end - 1])) {
    if (size_t n = blankBefore(t, end)) {
      end -= n;
    } else if (!percent && t[end - 1] == '%') {
      percent = true;
      --end;
    } else if (size_t s = currency || after ? 0 : currencySignBefore(t, end)) {
      after = true;
      end -= s;
    } else if (size_t c = currency || after ? 0 : codeBefore(t, end)) {
      after = true;
      end -= c;
    } else if ((t[end - 1] == '.' || t[end - 1] == ',') && end - 1 > begin && isDigit(t[end - 2])) {
      break;  // a trailing decimal point
    } else {
      return scan;
    }
  }
  if (end <= begin) return scan;
  // Blanks between the digit groups become ' '; a tab stays and is refused.
  for (size_t i = begin; i < end;) {
    if (scan.length == sizeof scan.body) return scan;
    const size_t blank = t[i] == '\t' ? 0 : blankAt(t, i);
    scan.body[scan.length++] = blank ? ' ' : t[i];
    i += blank ? blank : 1;
  }
  scan.kind = readBody(scan.text(), scan.point, scan.lone);
  return scan;
}

// The decimal point of a scanned number in a field of `numberClass`.
size_t decimalPoint(const Scan& scan, NumberFormatClass numberClass, const platform::RegionalSettings& regional) {
  if (scan.lone != npos && lonePointIsDecimal(scan.body[scan.lone], numberClass, regional)) return scan.lone;
  return scan.point;
}

}  // namespace

NumberKind numberKind(std::string_view text) { return scanNumber(text).kind; }

bool lonePointIsDecimal(char separator, NumberFormatClass numberClass, const platform::RegionalSettings& regional) {
  return numberClass != 2 && separator == regional.decimalSeparator;
}

PlainNumber plainNumber(std::string_view text) {
  PlainNumber p;
  if (text.empty() || text.size() > 40) return p;
  size_t i = 0;
  while (i < text.size() && isDigit(text[i])) ++i;
  if (i == 0) return p;
  if (i == text.size()) {
    p.plain = true;
    return p;
  }
  if (text[i] != '.') return p;
  const size_t point = i++;
  while (i < text.size() && isDigit(text[i])) ++i;
  if (i != text.size() || i == point + 1 || i == point + 4) return p;
  p.plain = true;
  p.point = point;
  return p;
}

bool parseRealCell(std::string_view text, NumberFormatClass numberClass, const platform::RegionalSettings& regional,
                   float& value) {
  if (const PlainNumber p = plainNumber(text); p.plain)
    return shortPlainToFloat(text, p.point, value) || plainToFloat(text.data(), text.data() + text.size(), value);
  const Scan scan = scanNumber(text);
  char digits[160];
  size_t n = 0;
  switch (scan.kind) {
    case NumberKind::None:
      return false;
    case NumberKind::Scientific:
      n = scan.length;
      std::copy(scan.body, scan.body + n, digits);
      break;
    default:
      n = plainDigits(scan.text(), decimalPoint(scan, numberClass, regional), digits, sizeof digits);
      if (n == 0) return false;
      break;
  }
  float f = 0.0f;
  if (!plainToFloat(digits, digits + n, f)) return false;
  value = scan.negative ? -f : f;
  return true;
}

bool parseIntegerCell(std::string_view text, NumberFormatClass numberClass,
                      const platform::RegionalSettings& regional, int64_t& value) {
  if (const PlainNumber p = plainNumber(text); p.plain && std::min(p.point, text.size()) <= 18) {
    // The whole part; a fraction is cut off.
    int64_t v = 0;
    for (size_t i = 0; i < std::min(p.point, text.size()); ++i) v = v * 10 + (text[i] - '0');
    value = v;
    return true;
  }
  const Scan scan = scanNumber(text);
  if (scan.kind == NumberKind::None) return false;
  if (scan.kind == NumberKind::Scientific) {
    float f = 0.0f;
    if (!parseRealCell(text, numberClass, regional, f)) return false;
    const double d = std::trunc(static_cast<double>(f));
    value = d >= 9.2e18 ? INT64_MAX : (d <= -9.2e18 ? INT64_MIN : static_cast<int64_t>(d));
    return true;
  }
  const size_t point = decimalPoint(scan, numberClass, regional);
  // Accumulate negatively so that INT64_MIN is reachable; hold at the limit.
  int64_t v = 0;
  bool held = false;
  for (size_t i = 0; i < scan.length && i != point; ++i) {
    const char c = scan.body[i];
    if (!isDigit(c)) continue;
    const int digit = c - '0';
    if (held || v < (INT64_MIN + digit) / 10) {
      held = true;
      continue;
    }
    v = v * 10 - digit;
  }
  if (held) v = INT64_MIN;
  value = scan.negative ? v : (v == INT64_MIN ? INT64_MAX : -v);
  return true;
}

}  // namespace vlm
