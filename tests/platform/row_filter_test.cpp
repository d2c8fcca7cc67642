// The SQL a filter becomes: open range ends, missing values, quoting.
#include <gtest/gtest.h>

#include <limits>

#include "platform/database/row_filter.h"

namespace vlm::platform::db {
namespace {

constexpr double kOpen = std::numeric_limits<double>::infinity();

std::string sqlOf(const RowCondition& c, SqlFamily family = SqlFamily::Postgres) {
  RowFilter f;
  f.conditions = {c};
  return whereCondition(f, SqlDialect{family, "\""});
}

TEST(RowFilterSql, AnOpenEndOfARangeIsNoBound) {
  RowCondition c;
  c.column = "n";
  c.values = RangeValues::Integer;
  c.low = -kOpen;
  c.high = 5;
  EXPECT_EQ(sqlOf(c), "(\"n\" <= 5)");
  c.low = 2;
  c.high = kOpen;
  EXPECT_EQ(sqlOf(c), "(\"n\" >= 2)");
  c.values = RangeValues::Real;
  c.low = 1.5;
  EXPECT_EQ(sqlOf(c).find("<"), std::string::npos) << sqlOf(c);
  c.values = RangeValues::DateTime;
  c.lowText = "";
  c.highText = "2020-01-01 00:00:00";
  EXPECT_EQ(sqlOf(c), "(CAST(\"n\" AS timestamp) <= TIMESTAMP '2020-01-01 00:00:00')");
  // Both ends open and missing values left out: every value passes.
  c.highText = "";
  EXPECT_EQ(sqlOf(c), "(\"n\" IS NOT NULL)");
  c.includeMissing = true;
  c.values = RangeValues::Integer;
  c.low = 3;
  EXPECT_EQ(sqlOf(c, SqlFamily::Odbc), "((\"n\" >= 3) OR \"n\" IS NULL)");
}

}  // namespace
}  // namespace vlm::platform::db
