#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/distinct_values.h"
#include "data/support/data_test_support.h"
#include "data/table_clear.h"
#include "data/table_text_load.h"
#include "data/text_pool.h"
#include "data/value_text.h"

namespace vlm {
namespace {

TextLoadResult load(DataTable& table, std::string_view text, TableTextFormat format = TableTextFormat::Clipboard,
                    const std::atomic<int32_t>* abort = nullptr, const ProgressSink& progress = {}) {
  clearTable(table);
  return loadTableText(table, text, format, test::settings(), abort, progress);
}

std::string value(const DataTable& table, int field, int sample) {
  char buffer[1024];
  valueText(table, field, sample, buffer, sizeof buffer, false, test::settings());
  return buffer;
}

TEST(TableTextLoad, HeaderAndTypedFields) {
  DataTable table;
  const auto r = load(table, "id\tprice\tname\tday\r\n1\t2.50\tapple\t12.05.2003\r\n2\t3\tpear\t13.05.2003\r\n");
  ASSERT_EQ(r.status, TextLoadStatus::Loaded);
  EXPECT_EQ(r.rows, 2);
  EXPECT_EQ(table.rowCount, 2);
  EXPECT_EQ(table.sourceRowCount, 2);
  ASSERT_EQ(table.fieldCount, 4);
  EXPECT_STREQ(table.fields[0].name, "id");
  EXPECT_EQ(table.fields[0].type, FT_INTEGER);
  EXPECT_EQ(table.fields[1].type, FT_REAL);
  EXPECT_EQ(table.fields[2].type, FT_TEXT);
  EXPECT_EQ(table.fields[3].type, FT_DATETIME);
  EXPECT_EQ(value(table, 1, 0), "2.5");
  EXPECT_EQ(value(table, 2, 1), "pear");
}

TEST(TableTextLoad, EmptyNamesBecomeColumnNumbersAndNamesAreTrimmed) {
  DataTable table;
  ASSERT_EQ(load(table, " x \t\tz\r\n1\t2\t3\r\n").status, TextLoadStatus::Loaded);
  EXPECT_STREQ(table.fields[0].name, "x");
  EXPECT_STREQ(table.fields[1].name, "(Column2)");
  EXPECT_STREQ(table.fields[2].name, "z");
}

TEST(TableTextLoad, BlankAndTabOnlyLinesAreNoSamples) {
  DataTable table;
  ASSERT_EQ(load(table, "a\tb\r\n1\t2\r\n\r\n\t\r\n\r\n3\t\r\n").status, TextLoadStatus::Loaded);
  EXPECT_EQ(table.rowCount, 2);
  EXPECT_EQ(value(table, 0, 1), "3");
  EXPECT_EQ(value(table, 1, 1), "N/A");
}

TEST(TableTextLoad, CellsBeyondTheHeaderAreIgnored) {
  DataTable table;
  ASSERT_EQ(load(table, "a\r\n1\t2\t3\r\n\tx\r\n").status, TextLoadStatus::Loaded);
  EXPECT_EQ(table.fieldCount, 1);
  EXPECT_EQ(table.rowCount, 1);
}

TEST(TableTextLoad, Failures) {
  DataTable table;
  EXPECT_EQ(load(table, "").status, TextLoadStatus::NoFields);
  EXPECT_EQ(load(table, "\r\n1\r\n").status, TextLoadStatus::NoFields);
  EXPECT_EQ(load(table, "a\tb\r\n").status, TextLoadStatus::NoSamples);
  EXPECT_EQ(load(table, "a\tb").status, TextLoadStatus::NoSamples);
  // Line feeds alone are no line ends on the clipboard: one header line.
  EXPECT_EQ(load(table, "a\tb\n1\t2\n").status, TextLoadStatus::NoSamples);
  EXPECT_EQ(load(table, std::string(131072, 'h') + "\r\n1\r\n").status, TextLoadStatus::HeaderTooLong);
  EXPECT_EQ(load(table, "h\r\n" + std::string(131072, '1') + "\r\n").status, TextLoadStatus::LineTooLong);
  EXPECT_EQ(load(table, "a,b\n\"1,2\n", TableTextFormat::Csv).status, TextLoadStatus::BadQuote);
  EXPECT_EQ(table.rowCount, 0);
}

TEST(TableTextLoad, ThreeThousandColumnsKeep2048Fields) {
  std::string header, line;
  for (int c = 0; c < 3000; ++c) {
    header += (c ? "\t" : "") + std::string("f") + std::to_string(c);
    line += (c ? "\t" : "") + std::to_string(c);
  }
  DataTable table;
  ASSERT_EQ(load(table, header + "\r\n" + line + "\r\n").status, TextLoadStatus::Loaded);
  EXPECT_EQ(table.fieldCount, 2048);
  EXPECT_STREQ(table.fields[2047].name, "f2047");
  EXPECT_EQ(value(table, 2047, 0), "2047");
}

TEST(TableTextLoad, AbortStopsEitherPass) {
  DataTable table;
  std::atomic<int32_t> abort{0};
  std::string text = "a\tb\r\n";
  for (int i = 0; i < 5000; ++i) text += std::to_string(i) + "\tx\r\n";
  // The abort comes with the first progress step of the pass named.
  for (const char* pass : {" analyzing", " loading"}) {
    abort = 0;
    bool inPass = false;
    ProgressSink progress;
    progress.begin = [&](const char* t, int32_t, int32_t) { inPass = std::string(t) == pass; };
    progress.step = [&](int32_t) {
      if (inPass) abort = 1;
    };
    EXPECT_EQ(load(table, text, TableTextFormat::Clipboard, &abort, progress).status, TextLoadStatus::Aborted)
        << pass;
  }
}

TEST(TableTextLoad, ProgressStaysInsideItsRange) {
  DataTable table;
  std::string text = "a\r\n";
  for (int i = 0; i < 3000; ++i) text += std::to_string(i) + "\r\n";
  std::vector<int32_t> steps;
  ProgressSink progress;
  int begins = 0, ends = 0;
  progress.begin = [&](const char*, int32_t first, int32_t last) {
    ++begins;
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 10000);
  };
  progress.step = [&](int32_t p) { steps.push_back(p); };
  progress.end = [&] { ++ends; };
  ASSERT_EQ(load(table, text, TableTextFormat::Clipboard, nullptr, progress).status, TextLoadStatus::Loaded);
  EXPECT_EQ(begins, 2);
  EXPECT_EQ(ends, 2);
  ASSERT_FALSE(steps.empty());
  for (int32_t s : steps) {
    EXPECT_GE(s, 1);
    EXPECT_LE(s, 10000);
  }
  EXPECT_EQ(steps.back(), 10000);
}

TEST(TableTextLoad, CsvAndTabFiles) {
  DataTable table;
  ASSERT_EQ(load(table, "name,n\n\"a, b\",1\nc,2\n", TableTextFormat::Csv).status, TextLoadStatus::Loaded);
  EXPECT_EQ(table.rowCount, 2);
  EXPECT_EQ(value(table, 0, 0), "a, b");
  ASSERT_EQ(load(table, "x\ty\n1\t2\r\n3\t4\n", TableTextFormat::TabFile).status, TextLoadStatus::Loaded);
  EXPECT_EQ(table.rowCount, 2);
  EXPECT_EQ(value(table, 1, 1), "4");
}

TEST(DistinctValues, SortedListsWithTheEmptyValueLast) {
  DataTable table;
  ASSERT_EQ(load(table, "n\tr\tt\td\r\n3\t2.5\tpear\t2003-01-05\r\n1\t-1\tapple\t2001-02-03\r\n3\t\tpear\t\r\n")
                .status,
            TextLoadStatus::Loaded);
  buildAllDistinctValues(table);
  const DataField& n = table.fields[0];
  ASSERT_EQ(n.distinctCount, 2);
  EXPECT_EQ(n.distinct[0].value, 1);
  EXPECT_EQ(n.distinct[1].value, 3);
  EXPECT_EQ(n.distinct[1].word, 2);
  EXPECT_EQ(n.cells[0].engineWord, 1);
  EXPECT_EQ(n.selectorLow.i, 1);
  EXPECT_EQ(n.selectorHigh.i, 3);

  const DataField& r = table.fields[1];
  ASSERT_EQ(r.distinctCount, 3);
  EXPECT_FLOAT_EQ(r.distinct[0].fvalue, -1.0f);
  EXPECT_FLOAT_EQ(r.distinct[1].fvalue, 2.5f);
  EXPECT_EQ(r.distinct[2].flags, kDistinctEmpty);
  EXPECT_EQ(r.cells[2].engineWord, -1);

  char buffer[1024];
  const DataField& t = table.fields[2];
  ASSERT_EQ(t.distinctCount, 2);
  distinctValueText(table, 2, 0, buffer, sizeof buffer, test::settings());
  EXPECT_STREQ(buffer, "apple");
  EXPECT_EQ(t.cells[0].engineWord, 1);

  const DataField& d = table.fields[3];
  ASSERT_EQ(d.type, FT_DATETIME);
  ASSERT_EQ(d.distinctCount, 3);
  EXPECT_EQ(d.cells[1].engineWord, 0);  // 2001 sorts first
  EXPECT_EQ(d.cells[0].engineWord, 1);
  distinctValueText(table, 3, 2, buffer, sizeof buffer, test::settings());
  EXPECT_STREQ(buffer, "(empty)");
}

// The pool is readied from what the analysis pass foresaw; texts it could not
// foresee (cells that looked like numbers until the column turned text) still
// get their places, and indexes follow first appearance across fields.
TEST(TableTextLoad, ManyDistinctTextsLoadAlikeWhetherForeseenOrNot) {
  std::string text = "code\tname\r\n";
  for (int i = 0; i < 5000; ++i) text += std::to_string(i) + "\tname " + std::to_string(i % 3000) + "\r\n";
  text += "x\tname 0\r\n";  // the code column turns text on its last line
  DataTable table;
  ASSERT_EQ(load(table, text).status, TextLoadStatus::Loaded);
  ASSERT_EQ(table.fields[0].type, FT_TEXT);
  ASSERT_EQ(table.fields[1].type, FT_TEXT);
  EXPECT_EQ(poolSize(table.textPool), 5001 + 3000);
  for (int i : {0, 1, 2999, 3000, 4999}) {
    EXPECT_EQ(value(table, 0, i), std::to_string(i));
    EXPECT_EQ(value(table, 1, i), "name " + std::to_string(i % 3000));
    // Row i holds the code and then its name; names repeat from row 3000 on.
    const int32_t expected = i < 3000 ? 2 * i : 6000 + (i - 3000);
    EXPECT_EQ(table.fields[0].cells[static_cast<size_t>(i)].value.i, expected) << i;
  }
  EXPECT_EQ(value(table, 0, 5000), "x");
}

// Unquoted CSV cells live in the reader only until the next record; with
// enough distinct texts for the loader to queue them they must still arrive.
TEST(TableTextLoad, QuotedCsvCellsSurviveTheQueue) {
  std::string text = "name,n\n";
  for (int i = 0; i < 40000; ++i) text += "\"q\"\"" + std::to_string(i) + "\"," + std::to_string(i) + "\n";
  DataTable table;
  ASSERT_EQ(load(table, text, TableTextFormat::Csv).status, TextLoadStatus::Loaded);
  EXPECT_GT(table.textPool.index.buckets.size(), size_t{32} << 10);
  EXPECT_EQ(poolSize(table.textPool), 40000);
  for (int i : {0, 1, 17, 20000, 39999}) EXPECT_EQ(value(table, 0, i), "q\"" + std::to_string(i)) << i;
}

}  // namespace
}  // namespace vlm
