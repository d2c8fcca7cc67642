// What a loaded table holds, stated through the table-text loader that the
// clipboard and the text files use: every value, type and date as written.
// Any loader that types and stores cells must give the same tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/support/data_test_support.h"
#include "data/table_clear.h"
#include "data/table_text_load.h"
#include "data/table_text_write.h"
#include "data/time_table.h"
#include "data/value_text.h"

namespace vlm {
namespace {

using test::settings;

struct Loaded {
  DataTable table;
  platform::RegionalSettings regional;

  // One column per entry, named by its first cell.
  Loaded(const std::vector<std::vector<std::string>>& columns, const platform::RegionalSettings& r = settings())
      : regional(r) {
    std::string text;
    size_t rows = 0;
    for (const auto& c : columns) rows = std::max(rows, c.size());
    for (size_t row = 0; row < rows; ++row) {
      for (size_t col = 0; col < columns.size(); ++col) {
        if (col > 0) text += '\t';
        if (row < columns[col].size()) text += columns[col][row];
      }
      text += "\r\n";
    }
    load(text);
  }
  explicit Loaded(std::string_view text, const platform::RegionalSettings& r = settings(),
                  TableTextFormat format = TableTextFormat::Clipboard)
      : regional(r) {
    load(text, format);
  }
  void load(std::string_view text, TableTextFormat format = TableTextFormat::Clipboard) {
    clearTable(table);
    ASSERT_EQ(loadTableText(table, text, format, regional, nullptr, {}).status, TextLoadStatus::Loaded);
  }
  uint8_t type(int field) const { return table.fields[static_cast<size_t>(field)].type; }
  std::string text(int field, int sample, bool group = false) const {
    char buffer[1024];
    valueText(table, field, sample, buffer, sizeof buffer, group, regional);
    return buffer;
  }
  const TimeEntry& time(int field, int sample) const {
    return *timeEntry(table.timeTable, table.fields[static_cast<size_t>(field)].cells[static_cast<size_t>(sample)].value.i);
  }
};

void expectDate(const TimeEntry& e, int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  EXPECT_EQ(e.year, y);
  EXPECT_EQ(e.month, m);
  EXPECT_EQ(e.day, d);
  EXPECT_EQ(e.hour, h);
  EXPECT_EQ(e.minute, mi);
  EXPECT_EQ(e.second, s);
}

TEST(TableRules, MonthNamesInAnySpellingAndCaseMakeADateColumn) {
  const Loaded t({{"date", "Jan 1 2000", "1 Jan 2000", "January 1, 2000", "JAN 1 2000", "jan. 1, 2000",
                   "Saturday, January 1, 2000", "Sat 1 Jan 2000", "1-JAN-2000", "5. Dezember 2003",
                   "Mon., 5. Dez. 2003", "5 Février 2003", "5 ÚNOR 2003", "Dec 2003", "dec 2003", "2003 Dec"}});
  ASSERT_EQ(t.type(0), FT_DATETIME);
  for (int s = 0; s < 8; ++s) expectDate(t.time(0, s), 2000, 1, 1);
  expectDate(t.time(0, 8), 2003, 12, 5);
  expectDate(t.time(0, 9), 2003, 12, 5);
  expectDate(t.time(0, 10), 2003, 2, 5);
  expectDate(t.time(0, 11), 2003, 2, 5);
  for (int s = 12; s < 15; ++s) expectDate(t.time(0, s), 2003, 12, 0);
  EXPECT_EQ(t.text(0, 12), "Dec 2003");
}

TEST(TableRules, AStockTableWithMonthNameDates) {
  const Loaded t("symbol,date,price\nMSFT,Jan 1 2000,39.81\nMSFT,Feb 1 2000,36.35\nAAPL,Mar 1 2010,223.02\n",
                 settings(), TableTextFormat::Csv);
  ASSERT_EQ(t.type(1), FT_DATETIME);
  ASSERT_EQ(t.type(2), FT_REAL);
  expectDate(t.time(1, 0), 2000, 1, 1);
  expectDate(t.time(1, 2), 2010, 3, 1);
  EXPECT_EQ(t.text(2, 0), "39.81");
  EXPECT_EQ(t.text(2, 2), "223.02");
}

TEST(TableRules, IsoTimestampsKeepTheirTime) {
  const Loaded t({{"when", "2003-01-05T13:45:10", "2003-01-06T07:05:00Z", "2003-01-07T23:59:59.250+01:00",
                   "2003-01-08 08:30"}});
  ASSERT_EQ(t.type(0), FT_DATETIME);
  expectDate(t.time(0, 0), 2003, 1, 5, 13, 45, 10);
  expectDate(t.time(0, 1), 2003, 1, 6, 7, 5, 0);
  expectDate(t.time(0, 2), 2003, 1, 7, 23, 59, 59);
  EXPECT_EQ(t.time(0, 2).millisecond, 250);
  expectDate(t.time(0, 3), 2003, 1, 8, 8, 30, 0);
}

TEST(TableRules, CellsWithDigitsThatAreNoNumberKeepTheirText) {
  const Loaded t({{"clock", "10:75", "11:20"},
                  {"phone", "555-1234", "555-9876"},
                  {"path", "2003/13/45", "2004/14/46"},
                  {"mixed", "12", "10:75"},
                  {"after", "1.5", "1.2345.6"},
                  {"dates", "1/5/2003", "7"}});
  for (int f = 0; f < 6; ++f) EXPECT_EQ(t.type(f), FT_TEXT) << f;
  EXPECT_EQ(t.text(0, 0), "10:75");
  EXPECT_EQ(t.text(1, 0), "555-1234");
  EXPECT_EQ(t.text(2, 0), "2003/13/45");
  EXPECT_EQ(t.text(3, 1), "10:75");
  EXPECT_EQ(t.text(4, 1), "1.2345.6");
  EXPECT_EQ(t.text(5, 0), "1/5/2003");
}

TEST(TableRules, CurrencyPercentAndGroupingStayTheirNumbers) {
  const Loaded t({{"price", "$1,200", "$950", "$12,345.50"},
                  {"amount", "EUR 100", "EUR 2,500", "EUR 7"},
                  {"share", "12%", "7.5%", "100%"},
                  {"count", "1 234", "56", "7 890 123"}});
  ASSERT_EQ(t.type(0), FT_REAL);
  EXPECT_EQ(t.text(0, 0), "1200");
  EXPECT_EQ(t.text(0, 2), "12345.5");
  ASSERT_EQ(t.type(1), FT_REAL);
  EXPECT_EQ(t.text(1, 0), "100");
  EXPECT_EQ(t.text(1, 1), "2500");
  EXPECT_EQ(t.text(2, 0), "12");
  EXPECT_EQ(t.text(2, 1), "7.5");
  ASSERT_EQ(t.type(3), FT_INTEGER);
  EXPECT_EQ(t.text(3, 0), "1234");
  EXPECT_EQ(t.text(3, 2), "7890123");
}

TEST(TableRules, ScientificNotationIsAReal) {
  const Loaded t({{"a", "1.5e-3", "2.5E+2"}, {"b", "1e-07", "3e5"}, {"c", "5", "1.5e-3"}});
  for (int f = 0; f < 3; ++f) EXPECT_EQ(t.type(f), FT_REAL) << f;
  EXPECT_EQ(t.text(0, 0), "0.0015");
  EXPECT_EQ(t.text(0, 1), "250");
  EXPECT_EQ(t.text(1, 0), "1e-07");
  EXPECT_EQ(t.text(1, 1), "300000");
  EXPECT_EQ(t.text(2, 1), "0.0015");
}

TEST(TableRules, RealsShowAsWritten) {
  const Loaded t({{"lat", "36.17528", "31.95376472", "-89.23450472", "100.1", "1234.56", "0.0001"}});
  ASSERT_EQ(t.type(0), FT_REAL);
  // Single precision keeps about seven digits: the shortest text of the
  // stored value, never the noise of six fixed decimals.
  EXPECT_EQ(t.text(0, 0), "36.17528");
  EXPECT_EQ(t.text(0, 1), "31.953764");
  EXPECT_EQ(t.text(0, 2), "-89.234505");
  EXPECT_EQ(t.text(0, 3), "100.1");
  EXPECT_EQ(t.text(0, 4), "1234.56");
  EXPECT_EQ(t.text(0, 4, true), "1,234.56");
  EXPECT_EQ(t.text(0, 5), "0.0001");
}

TEST(TableRules, LargeIntegersInARealFieldDoNotPoseAsExact) {
  const Loaded t({{"id", "123456789012345", "4915112345678", "7"}});
  ASSERT_EQ(t.type(0), FT_REAL);  // beyond 32 bits
  EXPECT_EQ(t.text(0, 0), "1.2345679e+14");
  EXPECT_EQ(t.text(0, 1), "4.9151124e+12");
  EXPECT_EQ(t.text(0, 2), "7");
}

TEST(TableRules, ACommaDecimalRegion) {
  const Loaded t({{"v", "2,75", "1.234,5", "1.234", "1,5e3"}, {"w", "36,17528", "100,1", "-0,5"}}, settings(','));
  ASSERT_EQ(t.type(0), FT_REAL);
  EXPECT_EQ(t.text(0, 0), "2,75");
  EXPECT_EQ(t.text(0, 1), "1234,5");
  EXPECT_EQ(t.text(0, 1, true), "1.234,5");
  EXPECT_EQ(t.text(0, 2), "1234");
  EXPECT_EQ(t.text(0, 3), "1500");
  EXPECT_EQ(t.text(1, 0), "36,17528");
  EXPECT_EQ(t.text(1, 1), "100,1");
}

// A copy pasted back gives the same table.
void expectCopyReadsBack(const std::string& pasted, const platform::RegionalSettings& r) {
  Loaded first(pasted, r);
  first.table.sourceKind = DSK_CLIPBOARD;  // the paste's caller names the source
  std::vector<uint8_t> flags(static_cast<size_t>(first.table.rowCount.get()), 1);
  const std::string copy = tableTextForCopy(first.table, first.table.rowCount, flags, false, r);
  Loaded second(copy, r);
  second.table.sourceKind = DSK_CLIPBOARD;
  ASSERT_EQ(second.table.fieldCount, first.table.fieldCount);
  ASSERT_EQ(second.table.rowCount.get(), first.table.rowCount.get());
  for (int f = 0; f < first.table.fieldCount; ++f) {
    EXPECT_EQ(second.type(f), first.type(f)) << f;
    for (int s = 0; s < first.table.rowCount; ++s) {
      EXPECT_EQ(second.text(f, s), first.text(f, s)) << f << ", " << s;
      if (first.type(f) == FT_REAL) {
        EXPECT_EQ(second.table.fields[f].cells[s].value.f, first.table.fields[f].cells[s].value.f) << f << ", " << s;
      }
    }
  }
  // And a second round changes nothing at all.
  EXPECT_EQ(tableTextForCopy(second.table, second.table.rowCount, flags, false, r), copy);
}

TEST(TableRules, ACopyPastedBackGivesTheSameValues) {
  const std::string table =
      "lat\tprice\tn\twhen\tname\tmonth\ttiny\tbig\r\n"
      "36.17528\t$1,200\t7\t2003-01-05T13:45:10\tThigpen\tDec 2003\t1e-7\t123456789012345\r\n"
      "31.95376472\t1234.56\t-12\t5-Jan-2003\tBay Springs\tJan 2004\t2.5e-9\t4915112345678\r\n"
      "-89.23450472\t100.1\t0\t2003-12-31 23:59:59.5\tn/a\tFeb 2004\t0.0001234\t-16777217\r\n";
  for (int order : {0, 1, 2}) {
    expectCopyReadsBack(table, settings('.', order));
    expectCopyReadsBack(table, settings(',', order));
  }
}

}  // namespace
}  // namespace vlm
