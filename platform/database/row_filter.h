#pragma once
// A filter on an object's rows in neutral terms (a value range or a text
// that a column must hold), and the SQL condition that each engine's dialect
// writes for it. The Selector's Range and Substring rows are described this
// way when only the selected rows are to be read from a database.
#include <string>
#include <vector>

namespace vlm::platform::db {

enum class ConditionKind { Range, Substring };

// How a range's bounds compare with the column's values.
enum class RangeValues {
  Integer,  // whole numbers
  Real,     // numbers compared as single-precision floats, as the Selector does
  Double,   // numbers compared as they are
  DateTime, // bounds are "YYYY-MM-DD hh:mm:ss" texts, compared as points in time
};

struct RowCondition {
  std::string column;  // the column's name as the engine lists it
  ConditionKind kind = ConditionKind::Range;
  RangeValues values = RangeValues::Double;
  // A bound that is not finite (a date bound that is empty) leaves that
  // end open.
  double low = 0, high = 0;         // Integer, Real, Double
  std::string lowText, highText;    // DateTime
  bool includeMissing = false;      // Range: a NULL passes too
  std::string text;                 // Substring: contained, without regard to case; empty passes all
};

// A row passes when it passes every condition.
struct RowFilter {
  std::vector<RowCondition> conditions;
};

enum class SqlFamily { Postgres, Sqlite, Odbc };

struct SqlDialect {
  SqlFamily family = SqlFamily::Odbc;
  std::string quote = "\"";  // the identifier quote (ODBC: the driver's)
};

// An identifier in the dialect's quotes, a quote inside it doubled.
std::string quoteIdentifier(std::string_view name, const SqlDialect& dialect);
// A text literal in single quotes, a single quote inside it doubled.
std::string quoteLiteral(std::string_view text);

// The condition as SQL (without "WHERE"); empty when no condition restricts
// anything. Texts and names are quoted; numbers are written exactly.
std::string whereCondition(const RowFilter& filter, const SqlDialect& dialect);

// The doubles whose rounding to a single-precision float lies in [low, high]:
// the condition `lower <(=) x <(=) upper`, with `strict...` telling < from <=.
struct DoubleInterval {
  double lower = 0, upper = 0;
  bool strictLower = false, strictUpper = false;
};
DoubleInterval floatRoundingInterval(float low, float high);

}  // namespace vlm::platform::db
