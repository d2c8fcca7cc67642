#include "platform/database/row_filter.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace vlm::platform::db {
namespace {

// Every double is written so that it reads back as the same double.
std::string number(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

std::string integer(double value) {
  return std::to_string(static_cast<long long>(std::llround(value)));
}

bool evenMantissa(float value) { return (std::bit_cast<uint32_t>(value) & 1u) == 0; }

std::string timestamp(const std::string& text, const SqlDialect& d) {
  switch (d.family) {
    case SqlFamily::Postgres: return "TIMESTAMP " + quoteLiteral(text);
    case SqlFamily::Sqlite: return quoteLiteral(text);
    case SqlFamily::Odbc: return "{ts " + quoteLiteral(text) + "}";
  }
  return quoteLiteral(text);
}

// The column as a point in time: SQLite keeps dates as text, as Unix time
// (integers) or as Julian days (reals); datetime() writes each the same way.
std::string timeOf(const std::string& column, const SqlDialect& d) {
  switch (d.family) {
    case SqlFamily::Postgres: return "CAST(" + column + " AS timestamp)";
    case SqlFamily::Sqlite:
      return "(CASE typeof(" + column + ") WHEN 'integer' THEN datetime(" + column + ", 'unixepoch') ELSE datetime(" +
             column + ") END)";
    case SqlFamily::Odbc: return column;
  }
  return column;
}

std::string rangeCondition(const RowCondition& c, const std::string& column, const SqlDialect& d) {
  std::string lower, upper;
  const bool lowSet = std::isfinite(c.low), highSet = std::isfinite(c.high);
  switch (c.values) {
    case RangeValues::Integer:
      if (lowSet) lower = column + " >= " + integer(c.low);
      if (highSet) upper = column + " <= " + integer(c.high);
      break;
    case RangeValues::Double:
      if (lowSet) lower = column + " >= " + number(c.low);
      if (highSet) upper = column + " <= " + number(c.high);
      break;
    case RangeValues::Real: {
      const DoubleInterval i = floatRoundingInterval(lowSet ? static_cast<float>(c.low) : -FLT_MAX,
                                                     highSet ? static_cast<float>(c.high) : FLT_MAX);
      if (lowSet && std::isfinite(i.lower)) lower = column + (i.strictLower ? " > " : " >= ") + number(i.lower);
      if (highSet && std::isfinite(i.upper)) upper = column + (i.strictUpper ? " < " : " <= ") + number(i.upper);
      break;
    }
    case RangeValues::DateTime: {
      const std::string t = timeOf(column, d);
      if (!c.lowText.empty()) lower = t + " >= " + timestamp(c.lowText, d);
      if (!c.highText.empty()) upper = t + " <= " + timestamp(c.highText, d);
      break;
    }
  }
  std::string out;
  if (lower.empty() && upper.empty()) out = column + " IS NOT NULL";
  else out = lower.empty() ? upper : upper.empty() ? lower : lower + " AND " + upper;
  if (c.includeMissing) out = "(" + out + ") OR " + column + " IS NULL";
  return out;
}

// '%', '_' and the escape itself stand for themselves in a LIKE pattern.
std::string likePattern(const std::string& text) {
  std::string out = "%";
  for (char ch : text) {
    if (ch == '%' || ch == '_' || ch == '!') out.push_back('!');
    out.push_back(ch);
  }
  out.push_back('%');
  return out;
}

std::string substringCondition(const RowCondition& c, const std::string& column, const SqlDialect& d) {
  switch (d.family) {
    case SqlFamily::Postgres:
      return "strpos(lower(CAST(" + column + " AS text)), lower(" + quoteLiteral(c.text) + ")) > 0";
    case SqlFamily::Sqlite:
      return "instr(lower(CAST(" + column + " AS TEXT)), lower(" + quoteLiteral(c.text) + ")) > 0";
    case SqlFamily::Odbc:
      return "LOWER(" + column + ") LIKE LOWER(" + quoteLiteral(likePattern(c.text)) + ") ESCAPE '!'";
  }
  return {};
}

}  // namespace

std::string quoteIdentifier(std::string_view name, const SqlDialect& dialect) {
  const std::string& q = dialect.quote.empty() ? std::string("\"") : dialect.quote;
  // A driver whose quote is a bracket opens with '[' and closes with ']'.
  const std::string close = q == "[" ? std::string("]") : q;
  std::string out = q;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name.compare(i, close.size(), close) == 0) {
      out += close + close;
      i += close.size() - 1;
      continue;
    }
    out.push_back(name[i]);
  }
  return out + close;
}

std::string quoteLiteral(std::string_view text) {
  std::string out = "'";
  for (char ch : text) {
    if (ch == '\'') out.push_back('\'');
    out.push_back(ch);
  }
  return out + "'";
}

std::string whereCondition(const RowFilter& filter, const SqlDialect& dialect) {
  std::string out;
  for (const RowCondition& c : filter.conditions) {
    const std::string column = quoteIdentifier(c.column, dialect);
    std::string one;
    if (c.kind == ConditionKind::Range) one = rangeCondition(c, column, dialect);
    else if (!c.text.empty()) one = substringCondition(c, column, dialect);
    if (one.empty()) continue;
    if (!out.empty()) out += " AND ";
    out += "(" + one + ")";
  }
  return out;
}

DoubleInterval floatRoundingInterval(float low, float high) {
  constexpr float inf = std::numeric_limits<float>::infinity();
  DoubleInterval out;
  // Below `low`'s neighbour midway down a double rounds away from low; at
  // the midpoint itself it rounds to the even one of the two.
  const float below = std::nextafter(low, -inf);
  if (std::isinf(below)) {
    out.lower = -std::numeric_limits<double>::infinity();
  } else {
    out.lower = (static_cast<double>(below) + static_cast<double>(low)) / 2;
    out.strictLower = !evenMantissa(low);
  }
  const float above = std::nextafter(high, inf);
  if (std::isinf(above)) {
    out.upper = std::numeric_limits<double>::infinity();
  } else {
    out.upper = (static_cast<double>(high) + static_cast<double>(above)) / 2;
    out.strictUpper = !evenMantissa(high);
  }
  return out;
}

}  // namespace vlm::platform::db
