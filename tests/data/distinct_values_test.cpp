// The distinct lists of number fields against a plain sort: every value once,
// ascending, with its sample count, and each sample pointing at its entry;
// columns already in order, columns of few values, negative numbers and both
// zeros, on big tables whose fields are built two at a time, and on tables
// long enough that their entries are written back in blocks of samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/distinct_values.h"
#include "data/field_analysis.h"
#include "data/table_clear.h"
#include "data/table_growth.h"
#include "data/text_pool.h"
#include "data/time_table.h"

namespace vlm {
namespace {

float real(uint32_t r, int column) {
  switch (column) {
    case 0: return static_cast<float>(r % 1000) * 0.25f - 100.0f;
    case 1: return (r & 1) ? 0.0f : -0.0f;
    default: return static_cast<float>(r) * 1e-3f;
  }
}

int32_t integer(uint32_t r, int32_t row, int column) {
  switch (column) {
    case 0: return row;                                     // in order already
    case 1: return static_cast<int32_t>(r % 7) - 3;         // few values, negative ones too
    default: return static_cast<int32_t>(r) - INT32_MAX / 2;  // many, spread widely
  }
}

// A table of one field per type, `rows` long, every cell empty; null when
// the rows cannot be had.
std::unique_ptr<DataTable> tableOf(const std::vector<uint8_t>& types, int32_t rows) {
  auto table = std::make_unique<DataTable>();
  clearTable(*table);
  table->fieldCount = static_cast<int32_t>(types.size());
  for (size_t f = 0; f < types.size(); ++f) {
    table->fields[f].type = types[f];
    resetFieldAnalysis(table->fields[f]);
  }
  if (!growRows(*table, rows)) return nullptr;
  return table;
}

// Every sample with a value points at the entry of its value, every other at -1.
void expectSamplesPointAtTheirEntries(const DataField& field, int32_t rows) {
  for (int32_t s = 0; s < rows; ++s) {
    const Cell& cell = field.cells[static_cast<size_t>(s)];
    if (!(cell.flags & kCellPresent)) {
      ASSERT_EQ(cell.engineWord, -1) << "sample " << s;
      continue;
    }
    ASSERT_GE(cell.engineWord, 0) << "sample " << s;
    const DistinctValue& entry = field.distinct[static_cast<size_t>(cell.engineWord)];
    if (field.type == FT_REAL)
      ASSERT_EQ(entry.fvalue, cell.value.f) << "sample " << s;
    else
      ASSERT_EQ(entry.value, cell.value.i) << "sample " << s;
  }
}

void checkNumberLists(const int32_t rows) {
  const auto table = tableOf({FT_INTEGER, FT_INTEGER, FT_INTEGER, FT_REAL, FT_REAL, FT_REAL}, rows);
  ASSERT_NE(table, nullptr);
  uint32_t seed = 7;
  for (int32_t s = 0; s < rows; ++s) {
    for (int f = 0; f < 6; ++f) {
      seed = seed * 1664525u + 1013904223u;
      DataField& field = table->fields[static_cast<size_t>(f)];
      Cell& cell = field.cells[static_cast<size_t>(s)];
      if (s % 13 == 5 && f % 2 == 1) continue;  // some samples without a value
      cell.flags = kCellPresent;
      if (f < 3) {
        cell.value.i = integer(seed >> 4, s, f);
        field.min.i = std::min(field.min.i, cell.value.i);
        field.max.i = std::max(field.max.i, cell.value.i);
      } else {
        cell.value.f = real(seed >> 4, f - 3);
        if (cell.value.f < field.min.f) field.min.f = cell.value.f;
        if (cell.value.f > field.max.f) field.max.f = cell.value.f;
      }
    }
  }
  table->rowCount = rows;
  std::vector<int32_t> order;
  buildAllDistinctValues(*table, [&order](int32_t f) { order.push_back(f); });
  EXPECT_EQ(order, (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));

  for (int f = 0; f < 6; ++f) {
    SCOPED_TRACE("field " + std::to_string(f));
    const DataField& field = table->fields[static_cast<size_t>(f)];
    // The plain way: values in order, -0 counted with +0.
    std::vector<double> values;
    int32_t missing = 0;
    for (int32_t s = 0; s < rows; ++s) {
      const Cell& cell = field.cells[static_cast<size_t>(s)];
      if (!(cell.flags & kCellPresent)) {
        ++missing;
        continue;
      }
      values.push_back(f < 3 ? static_cast<double>(cell.value.i) : static_cast<double>(cell.value.f) + 0.0);
    }
    std::sort(values.begin(), values.end());
    std::vector<std::pair<double, int32_t>> counts;
    for (double v : values) {
      if (counts.empty() || counts.back().first != v) counts.emplace_back(v, 0);
      ++counts.back().second;
    }
    ASSERT_EQ(field.distinctCount, static_cast<int32_t>(counts.size()) + (missing > 0 ? 1 : 0));
    size_t e = 0;
    for (const auto& [value, count] : counts) {
      const DistinctValue& entry = field.distinct[e];
      const double listed = f < 3 ? static_cast<double>(entry.value) : static_cast<double>(entry.fvalue) + 0.0;
      ASSERT_EQ(listed, value) << "entry " << e;
      ASSERT_EQ(entry.word, count) << "entry " << e;
      ++e;
    }
    if (missing > 0) {
      EXPECT_EQ(field.distinct.back().flags, kDistinctEmpty);
      EXPECT_EQ(field.distinct.back().word, missing);
    }
    expectSamplesPointAtTheirEntries(field, rows);
  }
}

TEST(DistinctValues, NumberListsMatchAPlainSortOnBigTables) { checkNumberLists(150000); }

// Past 262 144 samples a sorted field's entries are written back block by
// block; a last block cut short and samples without a value included.
TEST(DistinctValues, NumberListsMatchAPlainSortOnTablesWrittenBackByBlocks) { checkNumberLists((1 << 18) + 4099); }
TEST(DistinctValues, NumberListsMatchAPlainSortOnTablesOfMillions) { checkNumberLists((1 << 21) + 40013); }

// Fields of few values are counted value by value rather than sorted, up to
// 16 384 values; one value more and the field is sorted after all. Either way
// the list is the plain sort's, and the zeros' entry keeps the zero of the
// first sample that holds one.
TEST(DistinctValues, FieldsOfFewValuesListWhatASortListsWhateverTheirCount) {
  constexpr int32_t kRows = 100000;
  for (const int32_t kinds : {1, 3, 16384, 16385, 40000}) {
    SCOPED_TRACE(std::to_string(kinds) + " values");
    const auto table = tableOf({FT_REAL, FT_INTEGER}, kRows);
    ASSERT_NE(table, nullptr);
    std::map<float, int32_t> reals;
    std::map<int32_t, int32_t> integers;
    int32_t missing = 0;
    for (int32_t s = 0; s < kRows; ++s) {
      if (s % 17 == 3) {
        ++missing;
        continue;
      }
      // Every kind within the first rows; then in a scattered order.
      const int32_t k = s < kinds ? s : static_cast<int32_t>((int64_t{s} * 7919) % kinds);
      Cell& r = table->fields[0].cells[static_cast<size_t>(s)];
      r.flags = kCellPresent;
      r.value.f = static_cast<float>(k) * 0.5f - 1.0f;  // k = 2 is a zero: -0 first, +0 after
      if (r.value.f == 0.0f) r.value.f = reals.count(0.0f) ? 0.0f : -0.0f;
      ++reals[r.value.f];
      Cell& i = table->fields[1].cells[static_cast<size_t>(s)];
      i.flags = kCellPresent;
      i.value.i = k * 50000 - 1000000000;  // too wide a span to count by value
      ++integers[i.value.i];
    }
    table->rowCount = kRows;
    buildAllDistinctValues(*table, {});
    const DataField& real = table->fields[0];
    const DataField& integer = table->fields[1];
    ASSERT_EQ(real.distinctCount, static_cast<int32_t>(reals.size()) + 1);
    ASSERT_EQ(integer.distinctCount, static_cast<int32_t>(integers.size()) + 1);
    size_t e = 0;
    for (const auto& [value, count] : reals) {
      ASSERT_EQ(real.distinct[e].fvalue, value) << "entry " << e;
      ASSERT_EQ(real.distinct[e].word, count) << "entry " << e;
      if (value == 0.0f) {
        EXPECT_EQ(static_cast<uint32_t>(real.distinct[e].value), 0x80000000u) << "-0 came first";
      }
      ++e;
    }
    e = 0;
    for (const auto& [value, count] : integers) {
      ASSERT_EQ(integer.distinct[e].value, value) << "entry " << e;
      ASSERT_EQ(integer.distinct[e].word, count) << "entry " << e;
      ++e;
    }
    EXPECT_EQ(real.distinct.back().word, missing);
    EXPECT_EQ(integer.distinct.back().word, missing);
    expectSamplesPointAtTheirEntries(real, kRows);
    expectSamplesPointAtTheirEntries(integer, kRows);
  }
}

// Whole numbers at both ends of their range, in spans narrower and wider
// than the table is long: each list is every value once, ascending, counted.
TEST(DistinctValues, WholeNumbersAtTheEndsOfTheRangeAreListedInOrder) {
  constexpr int32_t kSmall = 3000;
  const int32_t starts[] = {INT32_MIN, INT32_MAX - 9, -5, INT32_MIN};
  const int32_t spans[] = {10, 10, kSmall - 1, kSmall + 1};
  const auto table = tableOf({FT_INTEGER, FT_INTEGER, FT_INTEGER, FT_INTEGER}, kSmall);
  ASSERT_NE(table, nullptr);
  for (int32_t s = 0; s < kSmall; ++s)
    for (int f = 0; f < 4; ++f) {
      if (s % 7 == 3) continue;
      Cell& cell = table->fields[static_cast<size_t>(f)].cells[static_cast<size_t>(s)];
      cell.flags = kCellPresent;
      // The widest span reaches both ends at once.
      const int64_t offset = f == 3 ? (s % 2 ? int64_t{UINT32_MAX} - s % 5 : s % 5) : (int64_t{s} * 7919) % spans[f];
      cell.value.i = static_cast<int32_t>(int64_t{starts[f]} + offset);
    }
  table->rowCount = kSmall;
  buildAllDistinctValues(*table, {});
  for (int f = 0; f < 4; ++f) {
    SCOPED_TRACE("field " + std::to_string(f));
    const DataField& field = table->fields[static_cast<size_t>(f)];
    std::map<int32_t, int32_t> counts;
    for (int32_t s = 0; s < kSmall; ++s)
      if (s % 7 != 3) ++counts[field.cells[static_cast<size_t>(s)].value.i];
    ASSERT_EQ(field.distinctCount, static_cast<int32_t>(counts.size()) + 1);
    size_t e = 0;
    for (const auto& [value, count] : counts) {
      EXPECT_EQ(field.distinct[e].value, value);
      EXPECT_EQ(field.distinct[e].fvalue, static_cast<float>(value));
      EXPECT_EQ(field.distinct[e].word, count);
      ++e;
    }
    EXPECT_EQ(field.distinct.back().flags, kDistinctEmpty);
    expectSamplesPointAtTheirEntries(field, kSmall);
  }
}

// A text field's list is its texts in byte order, however much of their
// beginnings they share: a common beginning, texts that are beginnings of
// others, texts alike for eight bytes and more past it, bytes past ASCII.
TEST(DistinctValues, TextListsAreInByteOrderWhateverTheTextsShare) {
  const std::vector<std::vector<std::string>> cases = {
      {"person 10", "person 2", "person 1", "person", "person \xC3\xA9", "person \x7F", "person 100000000000", "person 1000000000001"},
      {"a", "ab", "abc", "ac", "a b", "a\x01"},
      {"shared:abcdefgh1", "shared:abcdefgh0", "shared:abcdefgh", "shared:abcdefgg9", "shared:abcdefgi"},
      {"\xC3\xBC" "ber", "zebra", "Zebra", "apple", "\xE2\x82\xAC 5", "10", "9", "a\xC3\xA9", "b"},
      {"only one"},
  };
  for (const auto& texts : cases) {
    const int32_t rows = static_cast<int32_t>(texts.size()) * 3 + 1;
    const auto table = tableOf({FT_TEXT}, rows);
    ASSERT_NE(table, nullptr);
    // Each text three times, in an order unlike the sorted one, and one
    // sample without a value.
    std::map<std::string, int32_t> counts;
    for (int32_t s = 0; s + 1 < rows; ++s) {
      const std::string& text = texts[static_cast<size_t>((s * 5 + 3) % static_cast<int32_t>(texts.size()))];
      Cell& cell = table->fields[0].cells[static_cast<size_t>(s)];
      cell.value.i = internText(table->textPool, text);
      cell.flags = kCellPresent;
      ++counts[text];
    }
    table->rowCount = rows;
    ASSERT_TRUE(buildDistinctValues(*table, 0));
    const DataField& field = table->fields[0];
    ASSERT_EQ(field.distinctCount, static_cast<int32_t>(counts.size()) + 1) << texts[0];
    size_t e = 0;
    for (const auto& [text, count] : counts) {  // std::map: byte order
      const DistinctValue& entry = field.distinct[e++];
      EXPECT_EQ(*poolText(table->textPool, entry.value), text) << "entry " << e - 1 << " of " << texts[0];
      EXPECT_EQ(entry.word, count) << text;
    }
    EXPECT_EQ(field.distinct.back().flags, kDistinctEmpty);
    expectSamplesPointAtTheirEntries(field, rows);
  }
}

// A column of codes or dates met in their order needs no sort, and one that is
// in order but for one pair (at its start, in its middle, at its end) still
// gets one; the field's values are interned among another field's, so the
// indexes it uses have gaps.
TEST(DistinctValues, ListsOfValuesMetInOrderOrAlmostAreSorted) {
  const std::vector<std::string> rising = {"K0", "K00", "K01", "K1", "K10", "K2", "L", "a", "ab", "b\xC3\xA9"};
  std::vector<std::vector<size_t>> orders;
  std::vector<size_t> inOrder(rising.size());
  for (size_t i = 0; i < inOrder.size(); ++i) inOrder[i] = i;
  orders.push_back(inOrder);
  for (size_t swap : {size_t{0}, size_t{4}, rising.size() - 2}) {
    std::vector<size_t> order = inOrder;
    std::swap(order[swap], order[swap + 1]);
    orders.push_back(order);
  }
  for (const bool dates : {false, true}) {
    for (const auto& order : orders) {
      const auto rows = static_cast<int32_t>(order.size() * 2);
      const auto table = tableOf({dates ? FT_DATETIME : FT_TEXT}, rows);
      ASSERT_NE(table, nullptr);
      // Each value met first in `order`, then once more in reverse; another
      // field's value is interned between any two.
      for (int32_t s = 0; s < rows; ++s) {
        const size_t at = s < rows / 2 ? static_cast<size_t>(s) : static_cast<size_t>(rows - 1 - s);
        const size_t rank = order[at];
        Cell& cell = table->fields[0].cells[static_cast<size_t>(s)];
        if (dates) {
          TimeEntry other;
          other.year = static_cast<uint16_t>(1900 + s);
          internTime(table->timeTable, other);
          TimeEntry entry;
          entry.year = 2000;
          entry.month = static_cast<uint16_t>(1 + rank % 12);
          entry.day = static_cast<uint16_t>(1 + rank);
          cell.value.i = internTime(table->timeTable, entry);
        } else {
          internText(table->textPool, "other " + std::to_string(s));
          cell.value.i = internText(table->textPool, rising[rank]);
        }
        cell.flags = kCellPresent;
      }
      table->rowCount = rows;
      ASSERT_TRUE(buildDistinctValues(*table, 0));
      const DataField& field = table->fields[0];
      ASSERT_EQ(field.distinctCount, static_cast<int32_t>(rising.size()));
      for (size_t e = 0; e < rising.size(); ++e) {
        const DistinctValue& entry = field.distinct[e];
        if (dates) {
          EXPECT_EQ(timeEntry(table->timeTable, entry.value)->day, 1 + e) << "entry " << e;
        } else {
          EXPECT_EQ(*poolText(table->textPool, entry.value), rising[e]) << "entry " << e;
        }
        EXPECT_EQ(entry.word, 2);
      }
      expectSamplesPointAtTheirEntries(field, rows);
    }
  }
}

}  // namespace
}  // namespace vlm
