// Public tables and real-world spellings opened as files and read back
// through the C API: every value, type and date as written, and a copy that
// pastes back unchanged.
#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/vlmapi.h"
#include "sources/support/source_fixture.h"

namespace vlm {
namespace {

// The public tables of the python3-vega-datasets package (scripts/packages).
const char kVegaData[] = "/usr/lib/python3/dist-packages/vega_datasets/_data/";

std::vector<std::vector<std::string>> readCsv(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    // Cells in double quotes may hold commas ("Union County, Troy Shelton").
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
        cells.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = !quoted;
      } else if (c == ',' && !quoted) {
        cells.emplace_back();
      } else {
        cells.back() += c;
      }
    }
    rows.push_back(cells);
  }
  return rows;
}

float floatOf(const std::string& text) {
  float f = 0;
  std::from_chars(text.data(), text.data() + text.size(), f);
  return f;
}

class RealTables : public test::SourceTest {
 protected:
  void SetUp() override {
    SourceTest::SetUp();
    start();
    state().main->regional.decimalSeparator = '.';
    state().main->regional.decimalSeparatorKnown = true;
    state().main->regional.dateOrder = 0;
  }
  std::string write(const std::string& name, const std::string& text) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  bool open(const std::string& path) {
    return request([&] { vlm_OpenFile(path.c_str(), 0); });
  }
  std::string value(int field, int sample, bool group = false) {
    char buffer[1024];
    vlm_GetValueAsText(field, sample, buffer, group ? 1 : 0);
    return buffer;
  }
  // Copies the table, pastes the copy, copies again: both copies must match.
  void expectCopyPastesBackUnchanged() {
    ASSERT_EQ(vlm_CopyToClipboard(), 1);
    const std::string first = *clipboard_->text();
    ASSERT_TRUE(paste(first));
    ASSERT_EQ(vlm_CopyToClipboard(), 1);
    EXPECT_EQ(*clipboard_->text(), first);
  }
};

TEST_F(RealTables, MonthNameDatesInEverySpellingAndCase) {
  ASSERT_TRUE(open(write("dates.tsv",
                         "when\tn\n"
                         "Jan 1 2000\t1\n1 Jan 2000\t2\nJanuary 1, 2000\t3\nJANUARY 1 2000\t4\n"
                         "Sat, 1 Jan 2000\t5\n5. Dezember 2003\t6\n5 décembre 2003\t7\nDec 2003\t8\n")));
  ASSERT_EQ(vlm_GetFieldType(0), FT_DATETIME);
  for (int s = 0; s < 5; ++s) EXPECT_EQ(value(0, s), "Jan 1-2000") << s;
  EXPECT_EQ(value(0, 5), "Dec 5-2003");
  EXPECT_EQ(value(0, 6), "Dec 5-2003");
  EXPECT_EQ(value(0, 7), "Dec 2003");
  expectCopyPastesBackUnchanged();
  EXPECT_EQ(vlm_GetFieldType(0), FT_DATETIME);
}

TEST_F(RealTables, NumbersThatAreNoneAndNumbersInScientificNotation) {
  ASSERT_TRUE(open(write("odd.csv",
                         "clock,phone,tiny,when\n"
                         "10:75,555-1234,1.5e-3,2003-01-05T13:45:10\n"
                         "11:20,555-9876,2e-7,2003-01-05T08:05:00\n")));
  EXPECT_EQ(vlm_GetFieldType(0), FT_TEXT);
  EXPECT_EQ(value(0, 0), "10:75");
  EXPECT_EQ(vlm_GetFieldType(1), FT_TEXT);
  EXPECT_EQ(value(1, 0), "555-1234");
  EXPECT_EQ(vlm_GetFieldType(2), FT_REAL);
  EXPECT_EQ(value(2, 0), "0.0015");
  EXPECT_EQ(value(2, 1), "2e-07");
  EXPECT_EQ(vlm_GetFieldType(3), FT_DATETIME);
  EXPECT_EQ(value(3, 0), "Jan 5-2003 13:45:10");
  EXPECT_EQ(value(3, 1), "Jan 5-2003 8:05:00");
  expectCopyPastesBackUnchanged();
}

TEST_F(RealTables, TheStockTableKeepsItsDatesAndPrices) {
  const std::string path = std::string(kVegaData) + "stocks.csv";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is missing (python3-vega-datasets)";
  ASSERT_TRUE(open(path));
  const auto rows = readCsv(path);
  ASSERT_EQ(vlm_GetNumberOfHits(), static_cast<int>(rows.size()) - 1);
  ASSERT_EQ(vlm_GetFieldType(1), FT_DATETIME);  // "Jan 1 2000"
  ASSERT_EQ(vlm_GetFieldType(2), FT_REAL);
  for (size_t r = 1; r < rows.size(); ++r) {
    const int s = static_cast<int>(r) - 1;
    std::string date = rows[r][1];  // "Jan 1 2000" prints as "Jan 1-2000"
    date[date.rfind(' ')] = '-';
    ASSERT_EQ(value(1, s), date) << r;
    std::string price = rows[r][2];  // "25.40" prints as "25.4"
    if (price.find('.') != std::string::npos) {
      while (price.back() == '0') price.pop_back();
      if (price.back() == '.') price.pop_back();
    }
    ASSERT_EQ(value(2, s), price) << r;
  }
  expectCopyPastesBackUnchanged();
}

TEST_F(RealTables, TheAirportTableKeepsItsLatitudes) {
  const std::string path = std::string(kVegaData) + "airports.csv";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is missing (python3-vega-datasets)";
  ASSERT_TRUE(open(path));
  const auto rows = readCsv(path);
  ASSERT_EQ(vlm_GetNumberOfHits(), static_cast<int>(rows.size()) - 1);
  ASSERT_EQ(vlm_GetFieldType(5), FT_REAL);
  ASSERT_EQ(vlm_GetFieldType(6), FT_REAL);
  for (size_t r = 1; r < rows.size(); ++r) {
    const int s = static_cast<int>(r) - 1;
    // Single precision holds about seven digits: the text shown reads back
    // as the float the file's text reads as, and is no longer than needed.
    for (int f : {5, 6}) {
      const std::string shown = value(f, s);
      ASSERT_EQ(floatOf(shown), floatOf(rows[r][static_cast<size_t>(f)])) << shown << " " << rows[r][f];
      ASSERT_LE(shown.size(), rows[r][static_cast<size_t>(f)].size()) << shown;
    }
  }
  expectCopyPastesBackUnchanged();
}

}  // namespace
}  // namespace vlm
