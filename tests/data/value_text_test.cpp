#include <cfloat>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "data/field_analysis.h"
#include "data/support/data_test_support.h"
#include "data/table_growth.h"
#include "data/text_pool.h"
#include "data/time_table.h"
#include "data/value_text.h"

namespace vlm {
namespace {

using test::settings;

struct Texts {
  int result = -99;
  std::string text;
};

Texts value(const DataTable& t, int field, int sample, bool group = false,
            const platform::RegionalSettings& r = settings()) {
  char buffer[1024];
  std::memset(buffer, 'Z', sizeof buffer);
  Texts out;
  out.result = valueText(t, field, sample, buffer, sizeof buffer, group, r);
  out.text = buffer;
  return out;
}

Texts distinct(const DataTable& t, int field, int entry, const platform::RegionalSettings& r = settings()) {
  char buffer[1024];
  std::memset(buffer, 'Z', sizeof buffer);
  Texts out;
  out.result = distinctValueText(t, field, entry, buffer, sizeof buffer, r);
  out.text = buffer;
  return out;
}

Texts range(const DataTable& t, int field, int which, const platform::RegionalSettings& r = settings()) {
  char buffer[1024];
  std::memset(buffer, 'Z', sizeof buffer);
  Texts out;
  out.result = fieldRangeText(t, field, which, buffer, sizeof buffer, r);
  out.text = buffer;
  return out;
}

Texts label(const DataTable& t, int field, float v, const platform::RegionalSettings& r = settings()) {
  char buffer[1024];
  std::memset(buffer, 'Z', sizeof buffer);
  Texts out;
  out.result = labelText(t, field, v, buffer, sizeof buffer, r);
  out.text = buffer;
  return out;
}

// A table with one field of each kind, each with one stored sample.
struct Fixture {
  DataTable t;
  Fixture() {
    t.fieldCount = 8;
    const uint8_t types[] = {FT_INTEGER, FT_REAL, FT_TEXT, FT_DATETIME, FT_BOOLEAN, FT_SIZE, FT_TEXT2, 9};
    for (int f = 0; f < 8; ++f) {
      t.fields[f].type = types[f];
      t.fields[f].flags = kFieldValid;
      resetFieldAnalysis(t.fields[f]);
    }
    growRows(t, 2);
    auto present = [&](int f, int32_t v) {
      t.fields[f].cells[0].value.i = v;
      t.fields[f].cells[0].flags = kCellPresent;
    };
    present(0, 1234567);
    t.fields[1].cells[0].value.f = 1234567.5f;
    t.fields[1].cells[0].flags = kCellPresent;
    present(2, internText(t.textPool, "north"));
    TimeEntry e;
    e.year = 2003, e.month = 1, e.day = 5;
    present(3, internTime(t.timeTable, e));
    present(4, 1);
    present(5, internText(t.textPool, "2 MB"));
    present(6, internText(t.textPool, "second"));
    present(7, 1);
  }
};

TEST(ValueText, EachType) {
  Fixture f;
  EXPECT_EQ(value(f.t, 0, 0).text, "1234567");
  EXPECT_EQ(value(f.t, 0, 0, true).text, "1,234,567");
  EXPECT_EQ(value(f.t, 1, 0).text, "1234567.5");
  EXPECT_EQ(value(f.t, 1, 0, true).text, "1,234,567.5");
  EXPECT_EQ(value(f.t, 1, 0, true, settings(',')).text, "1.234.567,5");
  EXPECT_EQ(value(f.t, 2, 0).text, "north");
  EXPECT_EQ(value(f.t, 3, 0, false, settings('.', 1)).text, "5-Jan-2003");
  EXPECT_EQ(value(f.t, 4, 0).text, "TRUE");
  EXPECT_EQ(value(f.t, 5, 0).text, "2 MB");
  EXPECT_EQ(value(f.t, 6, 0).text, "second");
  for (int field = 0; field < 7; ++field) EXPECT_EQ(value(f.t, field, 0).result, 1) << field;
  const Texts other = value(f.t, 7, 0);
  EXPECT_EQ(other.text, "N/A");
  EXPECT_EQ(other.result, 0);
  f.t.fields[4].cells[0].value.i = 0;
  EXPECT_EQ(value(f.t, 4, 0).text, "FALSE");
}

TEST(ValueText, MissingValuesAndFields) {
  Fixture f;
  const Texts missing = value(f.t, 0, 1);
  EXPECT_EQ(missing.text, "N/A");
  EXPECT_EQ(missing.result, 0);
  const Texts none = value(f.t, -1, 0);
  EXPECT_EQ(none.text, "");
  EXPECT_EQ(none.result, 0);
  const Texts noCells = value(f.t, 100, 0);
  EXPECT_EQ(noCells.text, "");
  EXPECT_EQ(noCells.result, 0);
  EXPECT_EQ(value(f.t, 0, 100000).result, 0);
  EXPECT_EQ(value(f.t, 5000, 0).result, 0);
}

TEST(ValueText, LongTextsAreCutTo1023BytesAtACharacterBoundary) {
  Fixture f;
  std::string longText = std::string(1022, 'a') + "éé";
  f.t.fields[2].cells[1].value.i = internText(f.t.textPool, longText);
  f.t.fields[2].cells[1].flags = kCellPresent;
  const Texts t = value(f.t, 2, 1);
  EXPECT_EQ(t.text, std::string(1022, 'a'));
}

TEST(ValueText, DateIntoTheCallersBufferEachTime) {
  Fixture f;
  char a[1024], b[1024];
  valueText(f.t, 3, 0, a, sizeof a, false, settings('.', 0));
  valueText(f.t, 3, 0, b, sizeof b, false, settings('.', 2));
  EXPECT_STREQ(a, "Jan 5-2003");
  EXPECT_STREQ(b, "2003-Jan-5");
}

TEST(DistinctText, Entries) {
  Fixture f;
  DataField& ints = f.t.fields[0];
  ints.distinct = {{5, 0, 0, 0, 0}, {0, 0, 0, kDistinctEmpty, 0}};
  ints.distinctCount = 2;
  EXPECT_EQ(distinct(f.t, 0, 0).text, "5");
  const Texts empty = distinct(f.t, 0, 1);
  EXPECT_EQ(empty.text, "(empty)");
  EXPECT_EQ(empty.result, 1);
  EXPECT_EQ(distinct(f.t, 0, 2).result, 0);
  EXPECT_EQ(distinct(f.t, 0, -1).result, 0);

  f.t.fields[1].distinct = {{0, 2.5f, 0, 0, 0}};
  f.t.fields[1].distinctCount = 1;
  EXPECT_EQ(distinct(f.t, 1, 0, settings(',')).text, "2,5");

  f.t.fields[2].distinct = {{0, 0, 0, 0, 0}, {77, 0, 0, 0, 0}};
  f.t.fields[2].distinctCount = 2;
  EXPECT_EQ(distinct(f.t, 2, 0).text, "north");
  EXPECT_EQ(distinct(f.t, 2, 1).result, 0);  // outside the pool

  f.t.fields[3].distinct = {{0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0}};
  f.t.fields[3].distinctCount = 2;
  EXPECT_EQ(distinct(f.t, 3, 0, settings('.', 1)).text, "5-Jan-2003");
  EXPECT_EQ(distinct(f.t, 3, 1).result, 0);

  f.t.fields[4].distinct = {{1, 0, 0, 0, 0}};
  f.t.fields[4].distinctCount = 1;
  const Texts boolean = distinct(f.t, 4, 0);
  EXPECT_EQ(boolean.text, "N/A");
  EXPECT_EQ(boolean.result, 1);
}

TEST(DistinctText, CountBeyondTheListIsNotRead) {
  Fixture f;
  f.t.fields[0].distinct = {{5, 0, 0, 0, 0}};
  f.t.fields[0].distinctCount = 10;
  EXPECT_EQ(distinct(f.t, 0, 3).result, 0);
}

TEST(RangeText, NumericFields) {
  Fixture f;
  DataField& ints = f.t.fields[0];
  ints.min.i = -5, ints.max.i = 1234567, ints.selectorLow.i = 2, ints.selectorHigh.i = 9;
  EXPECT_EQ(range(f.t, 0, 1).text, "-5");
  EXPECT_EQ(range(f.t, 0, 2).text, "1234567");
  EXPECT_EQ(range(f.t, 0, 3).text, "2");
  EXPECT_EQ(range(f.t, 0, 4).text, "9");
  EXPECT_EQ(range(f.t, 0, 5).text, "");
  EXPECT_EQ(range(f.t, 0, 1).result, 1);
  DataField& reals = f.t.fields[1];
  reals.min.f = -0.5f, reals.max.f = 2.0f;
  EXPECT_EQ(range(f.t, 1, 1).text, "-0.5");
  EXPECT_EQ(range(f.t, 1, 2).text, "2");
}

TEST(RangeText, TextAndDateFieldsUseTheDistinctList) {
  Fixture f;
  DataField& texts = f.t.fields[2];
  const int32_t south = internText(f.t.textPool, "south");
  texts.distinct = {{0, 0, 0, 0, 0}, {south, 0, 0, 0, 0}};
  texts.distinctCount = 2;
  texts.selectorLow.i = 1;
  texts.selectorHigh.i = 7;  // outside the list
  EXPECT_EQ(range(f.t, 2, 1).text, "north");
  const Texts last = range(f.t, 2, 2);
  EXPECT_EQ(last.text, "south");
  EXPECT_EQ(last.result, south);
  EXPECT_EQ(range(f.t, 2, 3).text, "south");
  const Texts outside = range(f.t, 2, 4);
  EXPECT_EQ(outside.text, "(empty)");
  EXPECT_EQ(outside.result, 1);
  texts.selectorLow.i = -6;  // the reset value
  EXPECT_EQ(range(f.t, 2, 3).text, "(empty)");
  texts.distinct[0].value = -1;
  EXPECT_EQ(range(f.t, 2, 1).text, "(empty)");
  texts.distinct.clear();
  texts.distinctCount = 0;
  EXPECT_EQ(range(f.t, 2, 1).text, "(empty)");
  EXPECT_EQ(range(f.t, 2, 2).text, "(empty)");

  DataField& dates = f.t.fields[3];
  dates.distinct = {{0, 0, 0, 0, 0}};
  dates.distinctCount = 1;
  const Texts d = range(f.t, 3, 2, settings('.', 1));
  EXPECT_EQ(d.text, "5-Jan-2003");
  EXPECT_EQ(d.result, 1);
}

TEST(RangeText, InvalidTwoValuedAndOtherFields) {
  Fixture f;
  const Texts two = range(f.t, 4, 1);
  EXPECT_EQ(two.text, "");
  EXPECT_EQ(two.result, 1);
  const Texts other = range(f.t, 7, 1);
  EXPECT_EQ(other.text, "N/A");
  EXPECT_EQ(other.result, 0);
  f.t.fields[0].flags = 0;
  const Texts invalid = range(f.t, 0, 1);
  EXPECT_EQ(invalid.text, "N/A");
  EXPECT_EQ(invalid.result, 0);
}

TEST(LabelText, EachType) {
  Fixture f;
  EXPECT_EQ(label(f.t, 0, 1234567.9f).text, "1,234,567");
  EXPECT_EQ(label(f.t, 0, -2.9f).text, "-2");
  EXPECT_EQ(label(f.t, 0, 1e20f).text, "2,147,483,647");
  EXPECT_EQ(label(f.t, 5, 4096.0f).text, "4,096");
  EXPECT_EQ(label(f.t, 1, 1234.5f).text, "1,234.5");
  EXPECT_EQ(label(f.t, 4, 0.0f).text, "FALSE");
  EXPECT_EQ(label(f.t, 4, 1.0f).text, "TRUE");
  f.t.fields[2].distinct = {{0, 0, 0, 0, 0}};
  f.t.fields[2].distinctCount = 1;
  EXPECT_EQ(label(f.t, 2, 0.0f).text, "north");
  EXPECT_EQ(label(f.t, 2, 1.0f).text, "(empty)");
  EXPECT_EQ(label(f.t, 2, -1.0f).text, "(empty)");
  EXPECT_EQ(label(f.t, 2, std::numeric_limits<float>::quiet_NaN()).text, "(empty)");
  EXPECT_EQ(label(f.t, 7, 1.0f).text, "N/A");
}

TEST(ValueText, ColumnsLoadedEndToEnd) {
  DataTable table;
  const auto r = settings('.', 1);
  test::loadColumn(table, {"5 janvier 2003", "5-Jan-2003", "monday, 5 may 2003"}, r);
  ASSERT_EQ(table.fields[0].type, FT_DATETIME);
  EXPECT_EQ(test::cellText(table, 0, r), "5-Jan-2003");
  EXPECT_EQ(test::cellText(table, 1, r), "5-Jan-2003");
  EXPECT_EQ(test::cellText(table, 2, r), "5-May-2003");

  test::loadColumn(table, {"summary", "primary"}, r);
  ASSERT_EQ(table.fields[0].type, FT_TEXT);
  EXPECT_EQ(test::cellText(table, 0, r), "summary");

  test::loadColumn(table, {"13:45", "1:30 pm", "12:10 pm"}, r);
  ASSERT_EQ(table.fields[0].type, FT_DATETIME);
  EXPECT_EQ(test::cellText(table, 0, r), "13:45:00");
  EXPECT_EQ(test::cellText(table, 1, r), "13:30:00");
  EXPECT_EQ(test::cellText(table, 2, r), "12:10:00");

  test::loadColumn(table, {"1", "2,5", "n/a"}, settings(','));
  ASSERT_EQ(table.fields[0].type, FT_REAL);
  EXPECT_EQ(test::cellText(table, 1, settings(',')), "2,5");
  EXPECT_EQ(test::cellText(table, 2, settings(',')), "N/A");
}

}  // namespace
}  // namespace vlm
