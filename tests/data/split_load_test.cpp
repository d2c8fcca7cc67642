// A table text read on two threads must give the very table that reading it
// line after line gives: types, analysis values, ranges, every cell, the
// text pool and the time table in the same order, and the distinct lists.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/distinct_values.h"
#include "data/support/data_test_support.h"
#include "data/table_clear.h"
#include "data/table_text_analysis.h"
#include "data/table_text_load.h"
#include "data/text_pool.h"

namespace vlm {
namespace {

struct Loaded {
  std::unique_ptr<DataTable> table = std::make_unique<DataTable>();
  TextLoadResult result;
};

Loaded loadWith(std::string_view text, TableTextFormat format, LoadThreads threads,
                const platform::RegionalSettings& regional = test::settings()) {
  Loaded l;
  clearTable(*l.table);
  l.result = loadTableText(*l.table, text, format, regional, nullptr, {}, threads);
  if (l.result.status == TextLoadStatus::Loaded) buildAllDistinctValues(*l.table);
  return l;
}

bool sameBits(IntOrFloat a, IntOrFloat b) { return a.i == b.i; }

void expectSameTables(const DataTable& a, const DataTable& b) {
  ASSERT_EQ(a.fieldCount, b.fieldCount);
  ASSERT_EQ(a.rowCount.get(), b.rowCount.get());
  EXPECT_EQ(a.sourceRowCount, b.sourceRowCount);
  EXPECT_EQ(a.rowIds, b.rowIds);
  for (int32_t f = 0; f < a.fieldCount; ++f) {
    const DataField& x = a.fields[static_cast<size_t>(f)];
    const DataField& y = b.fields[static_cast<size_t>(f)];
    SCOPED_TRACE("field " + std::to_string(f));
    ASSERT_STREQ(x.name, y.name);
    ASSERT_EQ(x.type, y.type);
    EXPECT_EQ(x.analysisClass, y.analysisClass);
    EXPECT_EQ(x.numberFormatClass, y.numberFormatClass);
    EXPECT_EQ(x.dateOrderState, y.dateOrderState);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(x.dateComponentMax[i], y.dateComponentMax[i]);
    EXPECT_TRUE(sameBits(x.min, y.min));
    EXPECT_TRUE(sameBits(x.max, y.max));
    EXPECT_TRUE(sameBits(x.selectorLow, y.selectorLow));
    EXPECT_TRUE(sameBits(x.selectorHigh, y.selectorHigh));
    EXPECT_EQ(x.valueClass, y.valueClass);
    ASSERT_EQ(x.cells.size(), y.cells.size());
    for (size_t s = 0; s < x.cells.size(); ++s) {
      const Cell& c = x.cells[s];
      const Cell& d = y.cells[s];
      ASSERT_TRUE(c.value.i == d.value.i && sizeBytesOf(x, c) == sizeBytesOf(y, d) && c.engineWord == d.engineWord &&
                  c.flags == d.flags)
          << "sample " << s;
    }
    ASSERT_EQ(x.distinctCount, y.distinctCount);
    for (size_t e = 0; e < x.distinct.size(); ++e) {
      const DistinctValue& p = x.distinct[e];
      const DistinctValue& q = y.distinct[e];
      ASSERT_TRUE(p.value == q.value && std::memcmp(&p.fvalue, &q.fvalue, sizeof p.fvalue) == 0 &&
                  p.word == q.word && p.flags == q.flags)
          << "entry " << e;
    }
  }
  EXPECT_EQ(poolSize(a.textPool), poolSize(b.textPool));
  EXPECT_TRUE(a.textPool.chars == b.textPool.chars);
  EXPECT_TRUE(a.textPool.ends == b.textPool.ends);
  ASSERT_EQ(a.timeTable.entries.size(), b.timeTable.entries.size());
  if (!a.timeTable.entries.empty()) {
    EXPECT_EQ(std::memcmp(a.timeTable.entries.data(), b.timeTable.entries.data(),
                          a.timeTable.entries.size() * sizeof(TimeEntry)),
              0);
  }
}

// Loads the text line after line and on two threads (cut even when small,
// and cut only when big) and compares the tables.
void expectSameLoads(const std::string& text, TableTextFormat format,
                     const platform::RegionalSettings& regional = test::settings()) {
  const Loaded one = loadWith(text, format, LoadThreads::One, regional);
  for (LoadThreads threads : {LoadThreads::BothAtAnySize, LoadThreads::Both}) {
    const Loaded both = loadWith(text, format, threads, regional);
    ASSERT_EQ(one.result.status, both.result.status);
    ASSERT_EQ(one.result.rows, both.result.rows);
    expectSameTables(*one.table, *both.table);
  }
}

// Lines of every cell class: integers (some beyond 32 bits late), reals with
// grouping and currency, texts, ISO and dotted dates, times, missing values,
// empty cells and lines of tabs only.
std::string everyClass(int rows, const char* end) {
  std::string text = std::string("id\tsmall\treal\tmoney\tword\tiso\tdotted\ttime\tsparse\tlate\tmixed") + end;
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  for (int i = 0; i < rows; ++i) {
    const uint32_t r = next() >> 8;
    std::string line = std::to_string(i) + "\t" + std::to_string(r % 100) + "\t" + std::to_string(r % 1000) + "." +
                       std::to_string(r % 100) + "\t$" + std::to_string(r % 9) + "," +
                       std::to_string(100 + r % 900) + ".5\t" + (r % 7 == 0 ? "n/a" : "w" + std::to_string(r % 50)) +
                       "\t20" + std::to_string(10 + r % 14) + "-0" + std::to_string(1 + r % 9) + "-1" +
                       std::to_string(r % 10) + "\t" + std::to_string(1 + r % 28) + "." +
                       std::to_string(1 + r % 12) + ".2003\t" + std::to_string(r % 24) + ":" +
                       std::to_string(10 + r % 50) + "\t" + (r % 5 == 0 ? std::to_string(r % 3) : "") + "\t" +
                       // Integers that turn real (a value beyond 32 bits), then text, near the end.
                       (i == rows - 40 ? "4915112345678" : i == rows - 3 ? "late text" : std::to_string(r % 77)) +
                       "\t" + (r % 3 == 0 ? "-" : r % 3 == 1 ? "null" : std::to_string(r % 11) + ".25");
    if (i % 97 == 0) line = "\t\t\t";  // a line of tabs only: no sample
    if (i % 101 == 0) line.clear();    // an empty line
    text += line + end;
  }
  return text;
}

TEST(SplitLoad, EveryCellClassLoadsAlikeWithClipboardAndFileLineEnds) {
  const std::string crlf = everyClass(6000, "\r\n");
  expectSameLoads(crlf, TableTextFormat::Clipboard);
  expectSameLoads(crlf, TableTextFormat::TabFile);
  // LF and CR LF mixed in one file; in the clipboard's text a lone LF stays in its cell.
  std::string mixed = everyClass(6000, "\n");
  for (size_t at = mixed.find('\n', mixed.size() / 3); at != std::string::npos && at < mixed.size() * 2 / 3;
       at = mixed.find('\n', at + 2))
    mixed.insert(at, "\r");
  expectSameLoads(mixed, TableTextFormat::TabFile);
  expectSameLoads(mixed, TableTextFormat::Clipboard);
}

TEST(SplitLoad, ABigTextIsCutAndStillLoadsAlike) {
  // Big enough to be cut without being asked.
  const std::string text = everyClass(40000, "\n");
  ASSERT_GT(text.size(), kSplitBytes);
  expectSameLoads(text, TableTextFormat::TabFile);
}

// The analysis cuts the body into pieces, which the loading pass takes too:
// each starts a line, the body's start first among them, and carries
// the samples of the lines before it (empty lines and lines of tabs count
// none).
TEST(SplitLoad, PiecesStartLinesAndCountTheSamplesBeforeThem) {
  const std::string text = everyClass(6000, "\n");
  const size_t bodyStart = text.find('\n') + 1;
  for (size_t regionBytes : {size_t{1}, size_t{4096}, kRegionBytes}) {
    SCOPED_TRACE(regionBytes);
    DataTable table;
    clearTable(table);
    table.fieldCount = 11;
    std::vector<DistinctSketch> sketches(11);
    TextAnalysisInput in;
    in.text = text;
    in.bodyStart = bodyStart;
    in.format = TableTextFormat::TabFile;
    const platform::RegionalSettings regional = test::settings();
    in.regional = &regional;
    in.splitFrom = 0;
    in.regionBytes = regionBytes;
    const TextAnalysis analysis = analyseTableText(table, in, sketches);
    ASSERT_EQ(analysis.status, RecordStatus::End);
    const std::vector<TextRegionStart>& regions = analysis.regions;
    ASSERT_GE(regions.size(), 3u) << "the first lines, then two pieces at least";
    EXPECT_EQ(regions.front(), (TextRegionStart{bodyStart, 0}));
    if (regionBytes == 1) {
      EXPECT_GE(regions.size(), kMostRegions - 2) << "the body cut as finely as allowed";
    }
    if (regionBytes == kRegionBytes) {
      EXPECT_EQ(regions.size(), 3u) << "a small text: its first lines, then two halves";
    }
    EXPECT_LE(regions.size(), kMostRegions + 2);
    // The samples before every line start, counted line by line.
    int64_t samples = 0;
    size_t next = 0;
    for (size_t at = bodyStart; at < text.size();) {
      const size_t end = text.find('\n', at);
      while (next < regions.size() && regions[next].position <= at) {
        EXPECT_EQ(regions[next].position, at) << "a piece starts inside a line";
        EXPECT_EQ(regions[next].samplesBefore, samples) << "at byte " << at;
        ++next;
      }
      if (text.find_first_not_of('\t', at) < end) ++samples;
      at = end + 1;
    }
    EXPECT_EQ(next, regions.size()) << "a piece starts past the text";
    EXPECT_EQ(samples, analysis.samples);
  }
}

// The least and greatest values of the pieces are joined in text order: of
// two equal zeros the range keeps the one met first, as line after line does.
TEST(SplitLoad, RangesKeepTheZeroMetFirst) {
  for (const char* first : {"-0.0", "0.0"}) {
    const std::string second = first[0] == '-' ? "0.0" : "-0.0";
    std::string text = "low\thigh\n";
    for (int i = 0; i < 3000; ++i) {
      const std::string zero = i == 700 ? first : i == 2300 ? second : "";
      text += (zero.empty() ? std::to_string(1 + i % 9) + ".5" : zero) + "\t" +
              (zero.empty() ? "-" + std::to_string(1 + i % 9) + ".5" : zero) + "\n";
    }
    SCOPED_TRACE(first);
    expectSameLoads(text, TableTextFormat::TabFile);
  }
}

// A field whose state after the first half differs from the state the second
// half started from is read again from where the first half left it.
TEST(SplitLoad, FieldsThatChangeInTheFirstHalfAreReadAgain) {
  std::string text = "d\tn\tr\r\n";
  const int rows = 8000;
  for (int i = 0; i < rows; ++i) {
    // Month-first dates until a day above 12 turns the field day-first in
    // the first half; the numbers gain a grouping separator there too.
    std::string date = i == rows / 4 ? "13/05/2003" : std::to_string(1 + i % 12) + "/0" + std::to_string(1 + i % 9) + "/2003";
    std::string number = i == rows / 3 ? "1,234,567" : std::to_string(i);
    std::string real = i < rows / 3 ? std::to_string(i % 50) : std::to_string(i % 50) + ".75";
    text += date + "\t" + number + "\t" + real + "\r\n";
  }
  expectSameLoads(text, TableTextFormat::Clipboard);
  expectSameLoads(text, TableTextFormat::Clipboard, test::settings(',', 1));
}

// A field that changes in two places: whatever stretch starts after the
// first change is read again from where the lines before it left the field,
// and the second change is kept.
TEST(SplitLoad, FieldsThatChangeTwiceKeepBothChanges) {
  std::string text = "n\td\tg\n";
  const int rows = 8000;
  for (int i = 0; i < rows; ++i) {
    const bool first = i == rows / 4, second = i == rows * 3 / 4;
    const std::string n = first ? "1.5" : second ? "abc" : std::to_string(i % 90);
    const std::string d = first ? "13/05/2003" : second ? "28/11/2003" : std::to_string(1 + i % 12) + "/0" + std::to_string(1 + i % 9) + "/2003";
    const std::string g = first ? "1,234" : second ? "12.5" : std::to_string(i);
    text += n + "\t" + d + "\t" + g + "\n";
  }
  expectSameLoads(text, TableTextFormat::TabFile);
}

TEST(SplitLoad, QuotedCsvLoadsAlike) {
  std::string text = "name,n,d\n";
  for (int i = 0; i < 5000; ++i)
    text += "\"a, " + std::to_string(i % 300) + "\"\"\n x\"," + std::to_string(i) + ",2003-01-0" +
            std::to_string(1 + i % 9) + "\n";
  expectSameLoads(text, TableTextFormat::Csv);
}

TEST(SplitLoad, TwoThousandColumnsLoadAlike) {
  std::string text;
  for (int c = 0; c < kMaxFields; ++c) text += (c ? "\tc" : "c") + std::to_string(c);
  text += "\r\n";
  for (int r = 0; r < 60; ++r) {
    for (int c = 0; c < kMaxFields; ++c) {
      if (c) text += '\t';
      text += (c + r) % 3 == 0 ? std::to_string(r * c) : (c + r) % 3 == 1 ? "t" + std::to_string(c % 7) : "";
    }
    text += "\r\n";
  }
  expectSameLoads(text, TableTextFormat::Clipboard);
}

TEST(SplitLoad, ManyDistinctTextsLoadAlike) {
  std::string text = "code\tname\r\n";
  for (int i = 0; i < 60000; ++i) text += "K" + std::to_string(i) + "\tn" + std::to_string(i % 3000) + "\r\n";
  expectSameLoads(text, TableTextFormat::Clipboard);
}

// A text cell waits for its turn as its place and length in the text: cells
// of every length up to the longest line come back whole.
TEST(SplitLoad, TextCellsUpToTheLongestLineLoadAlike) {
  std::string text = "n\tlong\tday\r\n";
  for (int i = 0; i < 70; ++i) {
    const size_t length = i == 40 ? kMaxLineLength - 20 : static_cast<size_t>(i) * 1999 % 100000;
    std::string cell(length, static_cast<char>('a' + i % 26));
    if (!cell.empty()) cell.back() = 'z';
    text += std::to_string(i) + "\t" + cell + "\t2003-01-0" + std::to_string(1 + i % 9) + "\r\n";
  }
  expectSameLoads(text, TableTextFormat::Clipboard);
  const Loaded both = loadWith(text, TableTextFormat::Clipboard, LoadThreads::BothAtAnySize, test::settings());
  ASSERT_EQ(both.result.rows, 70);
  const DataField& field = both.table->fields[1];
  EXPECT_EQ(poolText(both.table->textPool, field.cells[40].value.i)->size(), kMaxLineLength - 20);
  EXPECT_EQ(poolText(both.table->textPool, field.cells[69].value.i)->size(), 69u * 1999 % 100000);
}

TEST(SplitLoad, FailuresAreTheFirstInTheText) {
  std::string text = "a\tb\r\n";
  for (int i = 0; i < 4000; ++i) text += std::to_string(i) + "\tx\r\n";
  std::string late = text + std::string(kMaxLineLength + 5, 'y') + "\r\n1\t2\r\n";
  EXPECT_EQ(loadWith(late, TableTextFormat::Clipboard, LoadThreads::BothAtAnySize).result.status,
            TextLoadStatus::LineTooLong);
  EXPECT_EQ(loadWith(std::string(kMaxLineLength + 5, 'y') + "\r\n" + text, TableTextFormat::Clipboard,
                     LoadThreads::BothAtAnySize)
                .result.status,
            TextLoadStatus::HeaderTooLong);
}

// A cancel in either pass stops the two threads; the loader reports it and
// the caller clears the table.
TEST(SplitLoad, AbortStopsBothThreadsInEitherPass) {
  const std::string text = everyClass(40000, "\r\n");
  for (const char* pass : {" analyzing", " loading"}) {
    std::atomic<int32_t> abort{0};
    bool inPass = false;
    ProgressSink progress;
    progress.begin = [&](const char* t, int32_t, int32_t) { inPass = std::string(t) == pass; };
    progress.step = [&](int32_t) {
      if (inPass) abort = 1;
    };
    DataTable table;
    clearTable(table);
    EXPECT_EQ(loadTableText(table, text, TableTextFormat::Clipboard, test::settings(), &abort, progress,
                            LoadThreads::BothAtAnySize)
                  .status,
              TextLoadStatus::Aborted)
        << pass;
  }
}

}  // namespace
}  // namespace vlm
