#include "data/date_parse.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "data/char_tests.h"
#include "data/month_names.h"
#include "data/utf8.h"

namespace vlm {
namespace {

bool isSeparator(char c) { return c == ' ' || c == ',' || c == '-' || c == '.' || c == '/' || c == ':'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The 'T' of an ISO 8601 timestamp ("2003-01-05T13:45:10") parts the date
// from the time like a blank.
bool isIsoT(std::string_view text, size_t at) {
  return (text[at] == 'T' || text[at] == 't') && at > 0 && at + 1 < text.size() && isDigit(text[at - 1]) &&
         isDigit(text[at + 1]);
}

bool separatorAt(std::string_view text, size_t at) { return isSeparator(text[at]) || isIsoT(text, at); }

// An ISO timestamp's zone ("Z", "+01:00", "-0500") after its time: the time
// is kept as written, so the zone is left out.
std::string_view withoutIsoZone(std::string_view text) {
  size_t t = std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i)
    if (isIsoT(text, i)) t = i;
  if (t == std::string_view::npos) return text;
  if (text.back() == 'Z' || text.back() == 'z') return text.substr(0, text.size() - 1);
  const size_t sign = text.find_last_of("+-");
  if (sign == std::string_view::npos || sign < t) return text;
  const std::string_view zone = text.substr(sign + 1);
  const bool hh = zone.size() == 2 && isDigit(zone[0]) && isDigit(zone[1]);
  const bool hhmm = zone.size() == 4 && isDigit(zone[0]) && isDigit(zone[1]) && isDigit(zone[2]) && isDigit(zone[3]);
  const bool hhColonMm = zone.size() == 5 && isDigit(zone[0]) && isDigit(zone[1]) && zone[2] == ':' &&
                         isDigit(zone[3]) && isDigit(zone[4]);
  return hh || hhmm || hhColonMm ? text.substr(0, sign) : text;
}

struct Token {
  std::string_view text;
  char before = 0;  // separator right before the token, 0 at the start of the text
  char after = 0;   // separator right after the token, 0 at the end of the text
};

// Walks the tokens of a text without allocating.
struct Tokenizer {
  std::string_view text;
  size_t pos = 0;

  bool next(Token& token) {
    while (pos < text.size() && separatorAt(text, pos)) ++pos;
    if (pos >= text.size()) return false;
    const size_t start = pos;
    while (pos < text.size() && !separatorAt(text, pos)) ++pos;
    token.text = text.substr(start, pos - start);
    token.before = start > 0 ? text[start - 1] : 0;
    token.after = pos < text.size() ? text[pos] : 0;
    return true;
  }
};

enum Part { kYear, kMonth, kDay, kHour, kMinute, kSecond, kMillisecond, kPartCount };

struct Parts {
  int64_t value[kPartCount] = {};
  bool seen[kPartCount] = {};

  void set(Part p, int64_t v) {
    value[p] = v;
    seen[p] = true;
  }
};

enum class Mode { None, Date, Time };

class DateTimeParser {
 public:
  DateTimeParser(std::string_view text, int32_t state, const int32_t (&maxima)[3], int32_t centuryBase)
      : text_(withoutIsoZone(text)), state_(state < 1 ? 1 : (state > 3 ? 3 : state)), centuryBase_(centuryBase) {
    for (int i = 0; i < 3; ++i) maxima_[i] = maxima[i];
  }

  int32_t run(int32_t (&maxima)[3], TimeEntry& entry);

 private:
  bool dateToken(const Token& token);
  bool dateNumber(int64_t n);
  void monthName(int month);
  void setYear(int64_t n);
  bool timeToken(const Token& token);

  std::string_view text_;
  int32_t state_;
  int32_t centuryBase_;
  int32_t maxima_[3];
  Parts parts_;
  bool monthNameInText_ = false;
  bool monthFromNumber_ = false;
  int64_t firstYearNumber_ = -1;  // the number a year-first date took as its year, as written
  bool hasDatePart_ = false;
  int datePosition_ = 0;
  Mode mode_ = Mode::None;
};

Mode modeFor(const Token& t) {
  if (t.before == 0) {
    if (t.after == ' ' || t.after == ',' || t.after == '-' || t.after == '.' || t.after == '/') return Mode::Date;
    if (t.after == ':') return Mode::Time;
    return Mode::None;
  }
  if (t.after == '-' || t.after == '/') return Mode::Date;
  if (t.after == ':') return Mode::Time;
  if (t.before == ':' && (t.after == ' ' || t.after == ',' || t.after == '.')) return Mode::Time;
  if (t.before == '.' && t.after == '.') return Mode::Date;
  return Mode::None;
}

int32_t DateTimeParser::run(int32_t (&maxima)[3], TimeEntry& entry) {
  monthNameInText_ = textHasMonthName(text_);
  // Dotted dates: the first two dots must be close together, as in 12.05.2003.
  // Beside a month name the dots end abbreviations ("5. Dez. 2003").
  bool dotted = false;
  const size_t firstDot = text_.find('.');
  if (firstDot != std::string_view::npos && !monthNameInText_) {
    const size_t secondDot = text_.find('.', firstDot + 1);
    if (secondDot != std::string_view::npos) {
      const size_t distance = utf8::charCount(text_.substr(firstDot, secondDot - firstDot));
      if (distance < 1 || distance > 3) return 0;
      dotted = true;
    }
  }
  if (!monthNameInText_) {
    Tokenizer counter{text_};
    Token token;
    int count = 0;
    while (count < 2 && counter.next(token)) ++count;
    if (count < 2) return 0;
    if (!dotted && text_.find_first_of("-/:") == std::string_view::npos) return 0;
  }

  Tokenizer tokens{text_};
  Token token;
  while (tokens.next(token)) {
    if (mode_ == Mode::None) mode_ = modeFor(token);
    if (mode_ == Mode::Date) {
      hasDatePart_ = true;
      if (!dateToken(token)) return 0;
      // A complete date ends the date: what follows is its time ("2003-Jan-5 13:45").
      if (parts_.seen[kYear] && parts_.seen[kMonth] && parts_.seen[kDay]) mode_ = Mode::None;
    } else if (mode_ == Mode::Time) {
      if (!timeToken(token)) return 0;
    }
  }

  bool any = false;
  for (bool s : parts_.seen) any = any || s;
  if (!any) return 0;
  // The maxima check which number is the month across a field's cells; a
  // text that names its month has no month number to check.
  if (hasDatePart_ && !monthNameInText_) {
    const bool fits = state_ == kDateMonthFirst ? (maxima_[0] < 13 && maxima_[1] < 32)
                      : state_ == kDateDayFirst ? (maxima_[0] < 32 && maxima_[1] < 13)
                                                : (maxima_[1] < 13 && maxima_[2] < 32);
    if (!fits) return 0;
  }
  for (int p = 0; p < kPartCount; ++p)
    if (parts_.value[p] < 0 || parts_.value[p] > UINT16_MAX) return 0;

  entry = TimeEntry{};
  const auto part = [&](Part p) { return static_cast<uint16_t>(parts_.seen[p] ? parts_.value[p] : 0); };
  entry.year = part(kYear);
  entry.month = part(kMonth);
  entry.day = part(kDay);
  entry.hour = part(kHour);
  entry.minute = part(kMinute);
  entry.second = part(kSecond);
  entry.millisecond = part(kMillisecond);
  for (int i = 0; i < 3; ++i) maxima[i] = maxima_[i];
  return state_;
}

bool DateTimeParser::dateToken(const Token& token) {
  const int position = datePosition_++;
  // Names start with a letter and are no longer than a few dozen bytes; other
  // tokens can only be numbers.
  const unsigned char first = static_cast<unsigned char>(token.text[0]);
  if (token.text.size() >= 3 && token.text.size() <= 48 && !(first >= '0' && first <= '9')) {
    const std::string lowered = utf8::lower(token.text);
    const int month = matchMonthToken(lowered);
    if (month > 0) {
      monthName(month);
      return true;
    }
    if (matchDayToken(lowered)) return true;
  }
  int64_t n = 0;
  if (!scanInteger(token.text, n)) return false;
  if (position < 3 && !monthNameInText_) {
    const int32_t clamped = n > INT32_MAX ? INT32_MAX : (n < INT32_MIN ? INT32_MIN : static_cast<int32_t>(n));
    if (clamped > maxima_[position]) maxima_[position] = clamped;
  }
  return dateNumber(n);
}

void DateTimeParser::setYear(int64_t n) {
  if (n >= 0 && n < 100) n = n < 50 ? centuryBase_ + n : centuryBase_ + n - 100;
  parts_.set(kYear, n);
}

void DateTimeParser::monthName(int month) {
  if (parts_.seen[kMonth] && monthFromNumber_) {
    const int64_t number = parts_.value[kMonth];
    if (state_ == kDateYearFirst) {
      setYear(number);
    } else {
      parts_.set(kDay, number);
      if (state_ == kDateMonthFirst) state_ = kDateDayFirst;
    }
  }
  monthFromNumber_ = false;
  parts_.set(kMonth, month);
}

bool DateTimeParser::dateNumber(int64_t n) {
  Parts& p = parts_;
  switch (state_) {
    case kDateMonthFirst:
      if (!monthNameInText_ && !p.seen[kMonth] && !p.seen[kDay] && !p.seen[kYear]) {
        if (n <= 12) {
          p.set(kMonth, n);
          monthFromNumber_ = true;
        } else if (n < 32) {
          p.set(kDay, n);
          state_ = kDateDayFirst;
        } else {
          setYear(n);
          state_ = kDateYearFirst;
        }
      } else if (!p.seen[kDay]) {
        if (n < 32)
          p.set(kDay, n);
        else
          setYear(n);
      } else {
        setYear(n);
        mode_ = Mode::None;
      }
      return true;
    case kDateDayFirst:
      if (!p.seen[kDay]) {
        if (n < 32) {
          p.set(kDay, n);
        } else {
          setYear(n);
          state_ = kDateYearFirst;
        }
      } else if (!p.seen[kMonth]) {
        if (n < 13) {
          p.set(kMonth, n);
          monthFromNumber_ = true;
        } else if (n < 32) {
          p.set(kMonth, p.value[kDay]);
          monthFromNumber_ = true;
          p.set(kDay, n);
          state_ = kDateMonthFirst;
        } else {
          setYear(n);
        }
      } else {
        setYear(n);
        mode_ = Mode::None;
      }
      return true;
    default:  // year first
      if (!p.seen[kYear]) {
        setYear(n);
        firstYearNumber_ = n;
      } else if (p.seen[kMonth] || monthNameInText_) {
        if (n > 31) {
          // The year comes last ("5-Jan-2003"): the number taken for the
          // year was the day.
          if (!p.seen[kDay] && firstYearNumber_ >= 1 && firstYearNumber_ < 32) p.set(kDay, firstYearNumber_);
          setYear(n);
          state_ = kDateMonthFirst;
        } else {
          p.set(kDay, n);
        }
        mode_ = Mode::None;
      } else if (n < 13) {
        p.set(kMonth, n);
        monthFromNumber_ = true;
      } else if (n > 31) {
        setYear(n);
      } else {
        p.set(kDay, n);
        state_ = kDateMonthFirst;
      }
      return true;
  }
}

bool DateTimeParser::timeToken(const Token& token) {
  Parts& p = parts_;
  if (token.before == ',' || token.before == '.') {
    // "m.s" or "m:s,f": what was read as hours and minutes are minutes and seconds.
    if (!p.seen[kSecond] && !p.seen[kMillisecond] && p.seen[kHour]) {
      if (p.seen[kMinute]) p.set(kSecond, p.value[kMinute]);
      p.set(kMinute, p.value[kHour]);
      p.set(kHour, 0);
    }
  } else if (token.before == ':' && (token.after == '.' || token.after == ',')) {
    if (p.seen[kHour] && !p.seen[kMinute]) {
      p.set(kMinute, p.value[kHour]);
      p.set(kHour, 0);
    }
  }
  const std::string_view t = token.text;
  const auto beginsWith = [&](char a, char b) {
    return t.size() >= 2 && (t[0] | 0x20) == a && (t[1] | 0x20) == b;
  };
  if (beginsWith('a', 'm')) return true;
  if (beginsWith('p', 'm')) {
    if (!p.seen[kHour]) return false;
    if (p.value[kHour] >= 1 && p.value[kHour] <= 11) p.value[kHour] += 12;
    return p.value[kHour] <= 23;
  }
  int64_t n = 0;
  if (!scanInteger(t, n) || n < 0) return false;
  if (!p.seen[kHour]) {
    if (n >= 24) {
      p.set(kHour, 0);
      if (n > 59) return false;
      p.set(kMinute, n);
    } else {
      p.set(kHour, n);
    }
  } else if (!p.seen[kMinute]) {
    if (n > 59) return false;
    p.set(kMinute, n);
  } else if (!p.seen[kSecond]) {
    if (n > 59) return false;
    p.set(kSecond, n);
  } else if (!p.seen[kMillisecond]) {
    size_t digits = 0;
    while (digits < t.size() && t[digits] >= '0' && t[digits] <= '9') ++digits;
    if (digits == 1) n *= 100;
    if (digits == 2) n *= 10;
    if (n > 999) return false;
    p.set(kMillisecond, n);
  } else {
    return false;  // a fifth number belongs to no time
  }
  return true;
}

// "YYYY-MM-DD" with a year from 100 on, a month up to 12 and a day up to 31,
// the commonest date text of all, read the way the walk above reads it: the
// year comes first whatever the field's state, the numbers raise the maxima,
// and the maxima must fit a year-first date. Returns -1 for any other text,
// which then takes the walk.
int32_t isoDate(std::string_view text, int32_t (&maxima)[3], TimeEntry& entry) {
  if (!hasIsoDateShape(text)) return -1;
  const auto digit = [&](size_t i) { return static_cast<int32_t>(text[i] - '0'); };
  const int32_t year = digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3);
  const int32_t month = digit(5) * 10 + digit(6);
  const int32_t day = digit(8) * 10 + digit(9);
  if (year < 100 || month > 12 || day > 31) return -1;
  const int32_t raised[3] = {std::max(maxima[0], year), std::max(maxima[1], month), std::max(maxima[2], day)};
  if (raised[1] >= 13 || raised[2] >= 32) return 0;
  entry = TimeEntry{};
  entry.year = static_cast<uint16_t>(year);
  entry.month = static_cast<uint16_t>(month);
  entry.day = static_cast<uint16_t>(day);
  for (int i = 0; i < 3; ++i) maxima[i] = raised[i];
  return kDateYearFirst;
}

}  // namespace

bool hasIsoDateShape(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (!isDigit(text[i])) return false;
  return true;
}

int32_t parseDateTimeText(std::string_view text, int32_t state, int32_t (&maxima)[3], int32_t centuryBase,
                          TimeEntry& entry) {
  if (const int32_t iso = isoDate(text, maxima, entry); iso >= 0) return iso;
  return parseDateTimeWalk(text, state, maxima, centuryBase, entry);
}

int32_t parseDateTimeWalk(std::string_view text, int32_t state, int32_t (&maxima)[3], int32_t centuryBase,
                          TimeEntry& entry) {
  DateTimeParser parser(text, state, maxima, centuryBase);
  return parser.run(maxima, entry);
}

int32_t parseDateTime(std::string_view text, DataField& field, const platform::RegionalSettings& regional,
                      TimeEntry& entry) {
  return parseDateTimeText(text, field.dateOrderState, field.dateComponentMax, regional.centuryBase, entry);
}

}  // namespace vlm
