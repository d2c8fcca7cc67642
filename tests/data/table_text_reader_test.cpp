#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/table_text_reader.h"

namespace vlm {
namespace {

using Cells = std::vector<std::string>;

std::vector<Cells> readAll(std::string_view text, TableTextFormat format, RecordStatus* last = nullptr) {
  TableTextReader reader(text, format, nullptr);
  std::vector<Cells> records;
  std::vector<std::string_view> cells;
  for (;;) {
    const RecordStatus status = reader.next(cells, 100);
    if (status != RecordStatus::Record) {
      if (last) *last = status;
      return records;
    }
    records.emplace_back(cells.begin(), cells.end());
  }
}

TEST(TableTextReader, ClipboardLinesEndWithCrLfOnly) {
  const auto records = readAll("a\tb\r\n1\t2\r\n", TableTextFormat::Clipboard);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], (Cells{"a", "b"}));
  EXPECT_EQ(records[1], (Cells{"1", "2"}));
  // A lone CR or LF stays inside the line.
  const auto lone = readAll("a\nb\r\nx\ry\r\n", TableTextFormat::Clipboard);
  ASSERT_EQ(lone.size(), 2u);
  EXPECT_EQ(lone[0], (Cells{"a\nb"}));
  EXPECT_EQ(lone[1], (Cells{"x\ry"}));
}

TEST(TableTextReader, EmptyLinesArePassedOverAndTabsKeepEmptyCells) {
  const auto records = readAll("h\r\n\r\n\r\n1\t\t3\r\n\t\r\n", TableTextFormat::Clipboard);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1], (Cells{"1", "", "3"}));
  EXPECT_EQ(records[2], (Cells{"", ""}));
}

TEST(TableTextReader, LastLineWithoutLineEnd) {
  const auto records = readAll("a\r\n1", TableTextFormat::Clipboard);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1], (Cells{"1"}));
}

TEST(TableTextReader, TabFilesTakeLfAndCrLf) {
  const auto records = readAll("a\tb\n1\t2\r\n3\t4", TableTextFormat::TabFile);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1], (Cells{"1", "2"}));
  EXPECT_EQ(records[2], (Cells{"3", "4"}));
}

TEST(TableTextReader, TabsAreFoundWhereverTheyFallInALine) {
  // Cells of every length up to well past sixteen characters, in a text whose
  // last line ends without a line end (nothing may be read past it).
  std::string text;
  std::vector<Cells> expected;
  uint32_t seed = 3;
  for (int line = 0; line < 400; ++line) {
    Cells cells;
    const int count = 1 + line % 9;
    for (int c = 0; c < count; ++c) {
      seed = seed * 1664525u + 1013904223u;
      const size_t length = (seed >> 16) % 41;
      std::string cell;
      for (size_t i = 0; i < length; ++i) cell.push_back(static_cast<char>('a' + (i + c) % 26));
      if (c > 0) text.push_back('\t');
      text += cell;
      cells.push_back(cell);
    }
    text += line % 2 ? "\r\n" : "\n";
    // An empty line is passed over; a line of tabs only is a record.
    if (!(count == 1 && cells[0].empty())) expected.push_back(cells);
  }
  text.pop_back();
  if (text.back() == '\r') text.pop_back();
  RecordStatus last = RecordStatus::Record;
  const auto records = readAll(text, TableTextFormat::TabFile, &last);
  EXPECT_EQ(last, RecordStatus::End);
  ASSERT_EQ(records.size(), expected.size());
  for (size_t r = 0; r < records.size(); ++r) ASSERT_EQ(records[r], expected[r]) << "line " << r;
}

TEST(TableTextReader, CsvQuotingKeepsCommasQuotesAndLineBreaks) {
  const auto records = readAll("name,note\n\"Smith, J\",\"said \"\"hi\"\"\nthen left\"\r\nx,\n", TableTextFormat::Csv);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0], (Cells{"name", "note"}));
  EXPECT_EQ(records[1], (Cells{"Smith, J", "said \"hi\"\nthen left"}));
  EXPECT_EQ(records[2], (Cells{"x", ""}));
}

TEST(TableTextReader, CsvUnterminatedQuoteIsAnError) {
  RecordStatus last = RecordStatus::Record;
  const auto records = readAll("a,b\n\"open,1\n2,3\n", TableTextFormat::Csv, &last);
  EXPECT_EQ(records.size(), 1u);
  EXPECT_EQ(last, RecordStatus::BadQuote);
}

TEST(TableTextReader, LinesUpTo131071CharactersAreRead) {
  for (auto format : {TableTextFormat::Clipboard, TableTextFormat::TabFile, TableTextFormat::Csv}) {
    const std::string fits(kMaxLineLength, 'x');
    RecordStatus last = RecordStatus::Record;
    auto records = readAll(fits + "\r\n" + fits, format, &last);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0][0].size(), kMaxLineLength);
    EXPECT_EQ(records[1][0].size(), kMaxLineLength);
    EXPECT_EQ(last, RecordStatus::End);

    const std::string over(kMaxLineLength + 1, 'x');
    records = readAll("a\r\n" + over + "\r\nb\r\n", format, &last);
    EXPECT_EQ(records.size(), 1u);
    EXPECT_EQ(last, RecordStatus::TooLong);
    records = readAll("a\r\n" + over, format, &last);
    EXPECT_EQ(last, RecordStatus::TooLong);
  }
}

TEST(TableTextReader, CellsBeyondTheLimitArePassedOver) {
  TableTextReader reader("a\tb\tc\td\r\nx\r\n", TableTextFormat::Clipboard, nullptr);
  std::vector<std::string_view> cells;
  ASSERT_EQ(reader.next(cells, 2), RecordStatus::Record);
  EXPECT_EQ(cells.size(), 2u);
  ASSERT_EQ(reader.next(cells, 2), RecordStatus::Record);
  EXPECT_EQ(cells[0], "x");
}

TEST(TableTextReader, TheCellLimitHoldsWhereverItFallsInABlockOfTabs) {
  // Eleven one-letter cells: several tabs in each sixteen characters, and
  // the limit falling on every one of them, before and after the line's end.
  const std::string line = "a\tb\tc\td\te\tf\tg\th\ti\tj\tk";
  const Cells all = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"};
  for (size_t limit = 0; limit <= all.size() + 1; ++limit) {
    const std::string text = line + "\n" + line + "\n";
    TableTextReader reader(text, TableTextFormat::TabFile, nullptr);
    std::vector<std::string_view> cells;
    for (int record = 0; record < 2; ++record) {
      ASSERT_EQ(reader.next(cells, limit), RecordStatus::Record) << limit;
      const Cells expected(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(std::min(limit, all.size())));
      EXPECT_EQ(Cells(cells.begin(), cells.end()), expected) << "limit " << limit << ", record " << record;
    }
    EXPECT_EQ(reader.next(cells, limit), RecordStatus::End);
  }
}

TEST(TableTextReader, AbortIsSeenAtTheNextCharacter) {
  std::atomic<int32_t> abort{1};
  TableTextReader reader("a\r\n", TableTextFormat::Clipboard, &abort);
  std::vector<std::string_view> cells;
  EXPECT_EQ(reader.next(cells, 10), RecordStatus::Aborted);
}

}  // namespace
}  // namespace vlm
