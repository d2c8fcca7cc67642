#include <cfloat>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/cell_store.h"
#include "data/field_analysis.h"
#include "data/support/data_test_support.h"
#include "data/table_growth.h"
#include "data/text_pool.h"

namespace vlm {
namespace {

using test::settings;

// A one-field table of the given type and number format class, ready to store.
struct TypedTable {
  DataTable table;
  explicit TypedTable(uint8_t type, NumberFormatClass k = 0, int rows = 4) {
    table.fieldCount = 1;
    table.fields[0].type = type;
    table.fields[0].numberFormatClass = k;
    resetFieldAnalysis(table.fields[0]);
    growRows(table, rows);
  }
  DataField& field() { return table.fields[0]; }
  const Cell& cell(int i) { return table.fields[0].cells[i]; }
  int store(std::string_view text, int sample = 0, const platform::RegionalSettings& r = settings()) {
    return storeCell(table, 0, sample, text, r);
  }
};

TEST(Store, RealNumberFormats) {
  {
    TypedTable t(FT_REAL, 2);
    ASSERT_EQ(t.store("1.234.567"), 1);
    EXPECT_FLOAT_EQ(t.cell(0).value.f, 1234567.0f);
  }
  for (NumberFormatClass k : {0, 1}) {
    TypedTable t(FT_REAL, k);
    ASSERT_EQ(t.store("1.234"), 1);
    EXPECT_FLOAT_EQ(t.cell(0).value.f, 1.234f);
    EXPECT_EQ(t.field().numberFormatClass, k);  // storing leaves the field's class as the analysis left it
  }
  {
    TypedTable t(FT_REAL, 1);
    ASSERT_EQ(t.store("1,5"), 1);
    EXPECT_FLOAT_EQ(t.cell(0).value.f, 1.5f);
  }
  {
    TypedTable t(FT_REAL, 1);
    ASSERT_EQ(t.store("12.5%"), 1);
    EXPECT_FLOAT_EQ(t.cell(0).value.f, 12.5f);
  }
  {
    TypedTable t(FT_REAL, 3);
    ASSERT_EQ(t.store("1.234,5"), 1);
    EXPECT_FLOAT_EQ(t.cell(0).value.f, 1234.5f);
  }
}

TEST(Store, CommaDecimalRegion) {
  const auto comma = settings(',');
  TypedTable t(FT_REAL, 1);
  ASSERT_EQ(t.store("2,75", 0, comma), 1);
  EXPECT_FLOAT_EQ(t.cell(0).value.f, 2.75f);
  ASSERT_EQ(t.store("2.75", 1, comma), 1);  // a lone '.' of class 1 is the decimal point too
  EXPECT_FLOAT_EQ(t.cell(1).value.f, 2.75f);
  ASSERT_EQ(t.store("1,5e3", 2, comma), 1);  // scientific: read with the regional separator
  EXPECT_FLOAT_EQ(t.cell(2).value.f, 1500.0f);
}

TEST(Store, ScientificIsReadAsWritten) {
  TypedTable t(FT_REAL, 0);
  ASSERT_EQ(t.store("1.5e3"), 1);
  EXPECT_FLOAT_EQ(t.cell(0).value.f, 1500.0f);
  EXPECT_EQ(t.field().numberFormatClass, 0);  // scientific cells leave the class alone
  ASSERT_EQ(t.store("2.5E-2", 1), 1);
  EXPECT_FLOAT_EQ(t.cell(1).value.f, 0.025f);
}

TEST(Store, RealsBeyondFloatRangeAreHeldAtTheLimit) {
  TypedTable t(FT_REAL, 0);
  ASSERT_EQ(t.store("5.0e38"), 1);
  EXPECT_EQ(t.cell(0).value.f, FLT_MAX);
}

TEST(Store, AllNegativeRealsEndWithAMaxBelowZero) {
  DataTable table;
  test::loadColumn(table, {"-1.5", "-2.25", "-0.5"}, settings());
  ASSERT_EQ(table.fields[0].type, FT_REAL);
  EXPECT_FLOAT_EQ(table.fields[0].max.f, -0.5f);
  EXPECT_FLOAT_EQ(table.fields[0].min.f, -2.25f);
}

TEST(Store, IntegersWithMinAndMax) {
  TypedTable t(FT_INTEGER);
  ASSERT_EQ(t.store("42"), 1);
  ASSERT_EQ(t.store("-7", 1), 1);
  ASSERT_EQ(t.store(" 13 ", 2), 1);
  EXPECT_EQ(t.cell(0).value.i, 42);
  EXPECT_EQ(t.cell(1).value.i, -7);
  EXPECT_EQ(t.cell(2).value.i, 13);
  EXPECT_EQ(t.field().min.i, -7);
  EXPECT_EQ(t.field().max.i, 42);
  EXPECT_TRUE(t.cell(0).flags & kCellPresent);
  EXPECT_FALSE(t.cell(3).flags & kCellPresent);
}

TEST(Store, IntegersOutside32BitsAreHeldAtTheLimits) {
  // An integer type from a source's type code can still meet a big number.
  TypedTable t(FT_INTEGER);
  ASSERT_EQ(t.store("4915112345678"), 1);
  EXPECT_EQ(t.cell(0).value.i, INT32_MAX);
  ASSERT_EQ(t.store("-4915112345678", 1), 1);
  EXPECT_EQ(t.cell(1).value.i, INT32_MIN);
}

TEST(Store, ABigIntegerColumnLoadsAsRealsInOrder) {
  DataTable table;
  test::loadColumn(table, {"4915112345678", "4915112345679", "12"}, settings());
  ASSERT_EQ(table.fields[0].type, FT_REAL);
  EXPECT_FLOAT_EQ(table.fields[0].cells[0].value.f, 4915112345678.0f);
  EXPECT_FLOAT_EQ(table.fields[0].min.f, 12.0f);
  EXPECT_GT(table.fields[0].max.f, 4.9e12f);
}

TEST(Store, CellsWithoutANumberStoreNothing) {
  TypedTable i(FT_INTEGER);
  EXPECT_EQ(i.store("-"), 0);
  EXPECT_EQ(i.store("abc"), 0);
  EXPECT_FALSE(i.cell(0).flags & kCellPresent);
  EXPECT_EQ(i.field().max.i, INT32_MIN);
  TypedTable r(FT_REAL);
  EXPECT_EQ(r.store("-"), 0);
  EXPECT_EQ(r.store("x"), 0);
}

TEST(Store, MissingAndEmptyStoreNothing) {
  for (uint8_t type : {FT_INTEGER, FT_REAL, FT_TEXT, FT_DATETIME, FT_SIZE}) {
    TypedTable t(type);
    EXPECT_EQ(t.store(""), 0);
    EXPECT_EQ(t.store("NULL"), 0);
    EXPECT_EQ(t.store("n/a"), 0);
    EXPECT_EQ(t.store("#Num!"), 0);
    EXPECT_FALSE(t.cell(0).flags & kCellPresent);
  }
}

TEST(Store, TwoValuedAndUntypedFieldsTakeNoText) {
  for (uint8_t type : {FT_BOOLEAN, FT_FLAG, FT_NONE}) {
    TypedTable t(type);
    EXPECT_EQ(t.store("1"), 0);
  }
}

TEST(Store, TextsAreInterned) {
  TypedTable t(FT_TEXT);
  ASSERT_EQ(t.store("  north "), 1);
  ASSERT_EQ(t.store("south", 1), 1);
  ASSERT_EQ(t.store("north", 2), 1);
  EXPECT_EQ(t.cell(0).value.i, t.cell(2).value.i);
  EXPECT_NE(t.cell(0).value.i, t.cell(1).value.i);
  EXPECT_EQ(t.store("   ", 3), 0);
  EXPECT_EQ(*poolText(t.table.textPool, 0), "north");
}

TEST(Store, Sizes) {
  TypedTable t(FT_SIZE);
  ASSERT_EQ(t.store("4k"), 1);
  EXPECT_EQ(sizeBytesOf(t.field(), t.cell(0)), 4096);
  ASSERT_EQ(t.store("2 MB", 1), 1);
  EXPECT_EQ(sizeBytesOf(t.field(), t.cell(1)), 2097152);
  ASSERT_EQ(t.store("512", 2), 1);
  EXPECT_EQ(sizeBytesOf(t.field(), t.cell(2)), 512);
  EXPECT_EQ(*poolText(t.table.textPool, t.cell(1).value.i), "2 MB");
  EXPECT_EQ(t.field().min.i, 512);
  EXPECT_EQ(t.field().max.i, 2097152);
  EXPECT_EQ(t.store("kb", 3), 0);
  EXPECT_EQ(poolSize(t.table.textPool), 3);  // nothing interned for a failed cell
}

TEST(Store, SizesFrom2GBOnAreHeldAtTheLimit) {
  TypedTable t(FT_SIZE);
  ASSERT_EQ(t.store("3000 MB"), 1);
  EXPECT_EQ(sizeBytesOf(t.field(), t.cell(0)), INT32_MAX);
  ASSERT_EQ(t.store("2048m", 1), 1);
  EXPECT_EQ(sizeBytesOf(t.field(), t.cell(1)), INT32_MAX);
  ASSERT_EQ(t.store("2047m", 2), 1);
  EXPECT_EQ(sizeBytesOf(t.field(), t.cell(2)), 2047 * 1048576);
  ASSERT_EQ(t.store("99999999999999999999 MB", 3), 1);
  EXPECT_EQ(sizeBytesOf(t.field(), t.cell(3)), INT32_MAX);
}

TEST(Store, DatesIntoTheTimeTable) {
  TypedTable t(FT_DATETIME);
  ASSERT_EQ(t.store("1/5/2003"), 1);
  ASSERT_EQ(t.store("2/5/2003", 1), 1);
  ASSERT_EQ(t.store("1/5/2003", 2), 1);
  EXPECT_EQ(t.cell(0).value.i, 0);
  EXPECT_EQ(t.cell(1).value.i, 1);
  EXPECT_EQ(t.cell(2).value.i, 0);
  EXPECT_EQ(t.store("not a date", 3), 0);
}

TEST(Store, ARejectedDateDoesNotSpoilTheFieldsLaterDates) {
  // A date type from a source's type code is stored without an analysis pass.
  TypedTable t(FT_DATETIME);
  EXPECT_EQ(t.store("40/40/x"), 0);
  ASSERT_EQ(t.store("1/5/2003", 1), 1);
  EXPECT_EQ(t.field().dateComponentMax[0], 1);
}

TEST(Store, DayFirstColumnLoadsInItsOrder) {
  DataTable table;
  const auto r = settings('.', 1);
  test::loadColumn(table, {"25/12/2003", "1/2/2003", "3.4.05"}, r);
  ASSERT_EQ(table.fields[0].type, FT_DATETIME);
  EXPECT_EQ(table.fields[0].dateOrderState, 2);
  EXPECT_EQ(test::cellText(table, 0, r), "25-Dec-2003");
  EXPECT_EQ(test::cellText(table, 1, r), "1-Feb-2003");
  EXPECT_EQ(test::cellText(table, 2, r), "3-Apr-2005");
}

TEST(Store, IndexesOutsideTheTableStoreNothing) {
  TypedTable t(FT_INTEGER, 0, 4);
  EXPECT_EQ(storeCell(t.table, 0, 500, "1", settings()), 0);
  EXPECT_EQ(storeCell(t.table, 0, -1, "1", settings()), 0);
  EXPECT_EQ(storeCell(t.table, 1, 0, "1", settings()), 0);
  EXPECT_EQ(storeCell(t.table, -1, 0, "1", settings()), 0);
}

}  // namespace
}  // namespace vlm
