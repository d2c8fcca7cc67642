#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "data/cell_loader.h"
#include "data/cell_store.h"
#include "data/field_analysis.h"
#include "data/support/data_test_support.h"
#include "data/table_growth.h"
#include "data/text_intern_queue.h"
#include "data/text_pool.h"
#include "data/time_table.h"

namespace vlm {
namespace {

using test::settings;

// Two tables of the same fields: one stored cell by cell with storeCell, one
// through a CellLoader. Every cell, range and pool index must come out equal.
struct TwinTables {
  DataTable direct;
  DataTable loaded;
  explicit TwinTables(const std::vector<uint8_t>& types, int rows) {
    for (DataTable* t : {&direct, &loaded}) {
      t->fieldCount = static_cast<int32_t>(types.size());
      for (size_t f = 0; f < types.size(); ++f) {
        t->fields[f].type = types[f];
        resetFieldAnalysis(t->fields[f]);
      }
      growRows(*t, rows);
    }
  }
};

void expectSameTables(const DataTable& a, const DataTable& b) {
  ASSERT_EQ(a.timeTable.entries.size(), b.timeTable.entries.size());
  for (size_t i = 0; i < a.timeTable.entries.size(); ++i)
    ASSERT_TRUE(sameTime(a.timeTable.entries[i], b.timeTable.entries[i])) << "time " << i;
  ASSERT_EQ(poolSize(a.textPool), poolSize(b.textPool));
  for (int32_t i = 0; i < poolSize(a.textPool); ++i) ASSERT_EQ(*poolText(a.textPool, i), *poolText(b.textPool, i)) << i;
  for (int32_t f = 0; f < a.fieldCount; ++f) {
    const DataField& x = a.fields[static_cast<size_t>(f)];
    const DataField& y = b.fields[static_cast<size_t>(f)];
    EXPECT_EQ(x.min.i, y.min.i) << "field " << f;
    EXPECT_EQ(x.max.i, y.max.i) << "field " << f;
    for (size_t s = 0; s < x.cells.size(); ++s) {
      ASSERT_EQ(x.cells[s].flags, y.cells[s].flags) << "field " << f << " sample " << s;
      if (x.cells[s].flags & kCellPresent) {
        ASSERT_EQ(x.cells[s].value.i, y.cells[s].value.i) << "field " << f << " sample " << s;
        ASSERT_EQ(sizeBytesOf(x, x.cells[s]), sizeBytesOf(y, y.cells[s])) << "field " << f << " sample " << s;
      }
    }
  }
}

// The cells of field 0, each on a line of its own in one text: stored by
// storeCell in the direct table and, from inside that text, through a
// CellLoader in the other, which may then remember them.
void storeFromOneSource(TwinTables& t, const std::vector<std::string>& cells) {
  std::string source;
  std::vector<size_t> starts;
  for (const std::string& c : cells) {
    starts.push_back(source.size());
    source += c + "\n";
  }
  CellLoader loader(t.loaded, settings(), source);
  for (size_t row = 0; row < cells.size(); ++row) {
    storeCell(t.direct, 0, static_cast<int32_t>(row), cells[row], settings());
    loader.store(0, static_cast<int32_t>(row), std::string_view(source).substr(starts[row], cells[row].size()));
  }
  loader.finish();
}

// A pool readied for this many texts has an index too large for the caches,
// so the loader queues its texts.
constexpr size_t kQueuedPool = 100000;

// Queued or interned at once; texts inside the loaded text (remembered) or
// outside it.
class CellLoaderModes : public ::testing::TestWithParam<std::tuple<bool, bool>> {};

TEST_P(CellLoaderModes, StoresWhatStoreCellStoresWithThePoolInTheSameOrder) {
  // Text, size, integer and a second text field share one pool; the texts
  // repeat, some clean to nothing, some are missing markers or unreadable
  // sizes. The date field repeats dates and holds texts that are no date;
  // its order and maxima change as it goes (month first until a 13th day).
  const std::vector<uint8_t> types = {FT_TEXT, FT_SIZE, FT_INTEGER, FT_TEXT2, FT_DATETIME};
  const auto [queued, inSource] = GetParam();
  const int rows = 3000;  // many times the queue's depth
  TwinTables t(types, rows);
  if (queued) {
    ASSERT_TRUE(reserveTextPool(t.loaded.textPool, kQueuedPool, 0));
    ASSERT_TRUE(reserveTimeTable(t.loaded.timeTable, kQueuedPool));
  }
  const auto r = settings();
  auto cellOf = [](int field, int row) -> std::string {
    switch (field) {
      case 0:
        if (row % 17 == 0) return "   ";
        if (row % 23 == 0) return "?";
        return "name " + std::to_string(row % 40) + (row % 3 == 0 ? "\tx" : "");
      case 1:
        if (row % 11 == 0) return "big";
        return std::to_string(row % 9) + (row % 2 ? " k" : " MB");
      case 2:
        return std::to_string(row * 7 - 1000);
      case 4:
        if (row % 13 == 0) return "soon";
        // The same texts before and after the day above 12 turns them round.
        if (row < 1000 || row % 2 == 1) return std::to_string(1 + row % 12) + "/" + std::to_string(1 + row % 9) + "/2003";
        if (row == 1000) return "13/5/2003";
        return std::to_string(1 + row % 28) + "." + std::to_string(1 + row % 12) + ".20" + std::to_string(10 + row % 37);
      default:
        return row % 5 == 0 ? "name 3" : "other " + std::to_string(row % 70);
    }
  };
  std::string source;
  std::vector<size_t> starts;
  for (int row = 0; row < rows; ++row)
    for (int f = 0; f < 5; ++f) {
      starts.push_back(source.size());
      source += cellOf(f, row) + "\n";
    }
  CellLoader loader(t.loaded, r, inSource ? std::string_view(source) : std::string_view());
  size_t cell = 0;
  for (int row = 0; row < rows; ++row)
    for (int f = 0; f < 5; ++f, ++cell) {
      const std::string_view inText = std::string_view(source).substr(starts[cell], starts[cell + 1 < starts.size() ? cell + 1 : cell] - starts[cell]);
      const std::string text = cellOf(f, row);
      storeCell(t.direct, f, row, text, r);
      if (inSource) {
        loader.store(f, row, inText.substr(0, text.size()));
      } else {
        loader.store(f, row, text);  // the text dies here: the loader keeps its own copy
      }
    }
  loader.finish();
  expectSameTables(t.direct, t.loaded);
}

INSTANTIATE_TEST_SUITE_P(AtOnceAndQueuedInsideAndOutside, CellLoaderModes,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

TEST(CellLoader, TextsInsideTheLoadedTextAreQueuedAsTheyStand) {
  std::string source;
  std::vector<std::pair<size_t, size_t>> spans;
  for (int row = 0; row < 200; ++row) {
    const std::string cell = row % 7 == 0 ? " a\tb " + std::to_string(row % 5) : "v" + std::to_string(row % 60);
    spans.emplace_back(source.size(), cell.size());
    source += cell + "\n";
  }
  TwinTables t({FT_TEXT}, 200);
  ASSERT_TRUE(reserveTextPool(t.loaded.textPool, kQueuedPool, 0));
  CellLoader loader(t.loaded, settings(), source);
  for (int row = 0; row < 200; ++row) {
    const std::string_view cell = std::string_view(source).substr(spans[row].first, spans[row].second);
    storeCell(t.direct, 0, row, cell, settings());
    loader.store(0, row, cell);
  }
  loader.finish();
  expectSameTables(t.direct, t.loaded);
}

// Texts remembered by their bytes up to 16 long, and by where they lie
// beyond: texts of every length from 1 to 40 that differ in one byte only,
// at each place in turn, alternate so that each asks where the other was
// just remembered. Past 16 bytes the two also share their first and last
// eight bytes, which alone would take one for the other.
TEST(CellLoader, RememberedTextsDifferingInOneByteStayApart) {
  std::vector<std::string> cells;
  for (size_t length = 1; length <= 40; ++length) {
    const std::string base = std::string("K7-abcdefghijklmnopqrstuvwxyz0123456789").substr(0, length);
    for (size_t at = 0; at < length; ++at) {
      std::string other = base;
      other[at] = '#';
      for (int repeat = 0; repeat < 3; ++repeat) {
        cells.push_back(base);
        cells.push_back(other);
      }
    }
  }
  const int rows = static_cast<int>(cells.size());
  TwinTables t({FT_TEXT}, rows);
  storeFromOneSource(t, cells);
  expectSameTables(t.direct, t.loaded);
  for (int row = 0; row < rows; ++row)
    ASSERT_EQ(*poolText(t.loaded.textPool, t.loaded.fields[0].cells[static_cast<size_t>(row)].value.i),
              cells[static_cast<size_t>(row)])
        << row;
}

// A date read before the field's maxima change (queued, so interned only
// after the change) is not remembered for the same text read after it:
// there a day of 13 in the month's place leaves the text no date.
TEST(CellLoader, RememberedDatesFollowTheFieldsDateState) {
  std::vector<std::string> cells(40, "4/1/2003");
  cells[20] = "13/5/2003";
  TwinTables t({FT_DATETIME}, static_cast<int>(cells.size()));
  ASSERT_TRUE(reserveTimeTable(t.loaded.timeTable, kQueuedPool));
  storeFromOneSource(t, cells);
  expectSameTables(t.direct, t.loaded);
  const DataField& dates = t.direct.fields[0];
  EXPECT_TRUE(dates.cells[0].flags & kCellPresent);
  EXPECT_FALSE(dates.cells[39].flags & kCellPresent) << "the same text should be no date after the change";
}

TEST(CellLoader, DatesStayInOrderWhenTheTimeTableOutgrowsTheCachesMidPass) {
  const int rows = 60000;
  TwinTables t({FT_DATETIME}, rows);
  CellLoader loader(t.loaded, settings());
  for (int row = 0; row < rows; ++row) {
    const int n = row % 3 == 0 ? row / 3 : row;  // a third repeat earlier entries
    const std::string text = std::to_string(1 + n % 28) + "." + std::to_string(1 + n / 28 % 12) + "." +
                             std::to_string(1900 + n / 336 % 190) + " " + std::to_string(n / 63840 % 24) + ":00";
    storeCell(t.direct, 0, row, text, settings());
    loader.store(0, row, text);
  }
  loader.finish();
  EXPECT_GT(t.loaded.timeTable.index.buckets.size(), size_t{32} << 10);
  expectSameTables(t.direct, t.loaded);
}

TEST(CellLoader, TextsStayInOrderWhenThePoolOutgrowsTheCachesMidPass) {
  const int rows = 60000;  // the index passes 32768 buckets on the way
  TwinTables t({FT_TEXT}, rows);
  CellLoader loader(t.loaded, settings());
  for (int row = 0; row < rows; ++row) {
    const std::string text = "id " + std::to_string(row % 3 == 0 ? row / 3 : row);
    storeCell(t.direct, 0, row, text, settings());
    loader.store(0, row, text);
  }
  loader.finish();
  EXPECT_GT(t.loaded.textPool.index.buckets.size(), size_t{32} << 10);
  expectSameTables(t.direct, t.loaded);
}

TEST(CellLoader, CellsOutsideTheTableAreIgnoredAndUnfinishedOnesAreDropped) {
  TwinTables t({FT_TEXT}, 4);
  ASSERT_TRUE(reserveTextPool(t.loaded.textPool, kQueuedPool, 0));
  const int32_t rows = static_cast<int32_t>(t.loaded.fields[0].cells.size());
  {
    CellLoader loader(t.loaded, settings());
    loader.store(-1, 0, "a");
    loader.store(1, 0, "a");
    loader.store(0, rows, "a");
    loader.store(0, -1, "a");
    loader.store(0, 2, "kept back");
    // No finish: an aborted pass leaves the cell absent and the pool empty.
  }
  EXPECT_EQ(poolSize(t.loaded.textPool), 0);
  EXPECT_FALSE(t.loaded.fields[0].cells[2].flags & kCellPresent);
}

TEST(TextInternQueue, GivesInternTextsIndexesInArrivalOrder) {
  TextPool reference;
  TextPool pool;
  TextInternQueue<int> queue(pool);
  std::vector<int32_t> got(1000, -2);
  const auto done = [&got](int payload, int32_t index) { got[static_cast<size_t>(payload)] = index; };
  std::vector<int32_t> expected;
  uint32_t seed = 99;
  for (int i = 0; i < 1000; ++i) {
    seed = seed * 1103515245u + 12345u;
    const std::string text = (seed >> 9) % 13 == 0 ? " \t " : " v" + std::to_string((seed >> 8) % 300);
    expected.push_back(internText(reference, text));
    queue.push(text, i, done);
    EXPECT_LE(queue.size(), TextInternQueue<int>::kDepth);
  }
  queue.drain(done);
  EXPECT_EQ(queue.size(), 0u);
  EXPECT_EQ(got, expected);
  EXPECT_EQ(poolSize(pool), poolSize(reference));
}

TEST(TextPoolReserve, AReservedPoolInternsAlikeWithoutRegrowingItsIndex) {
  TextPool reserved;
  TextPool grown;
  ASSERT_TRUE(reserveTextPool(reserved, 50000, 50000 * 6));
  const size_t buckets = reserved.index.buckets.size();
  EXPECT_GE(buckets, 50000u * 4 / 3);
  EXPECT_GE(reserved.ends.capacity(), 50000u);
  for (int i = 0; i < 50000; ++i) {
    const std::string text = "t" + std::to_string(i * 7919 % 60000);
    ASSERT_EQ(internText(reserved, text), internText(grown, text)) << text;
  }
  EXPECT_EQ(reserved.index.buckets.size(), buckets);
  // Past the reservation the pool grows as usual.
  for (int i = 0; i < 50000; ++i) internText(reserved, "more " + std::to_string(i));
  EXPECT_EQ(internText(reserved, "t0"), 0);
  EXPECT_GT(reserved.index.buckets.size(), buckets);
}

TEST(TextPoolReserve, AnImpossibleReservationLeavesThePoolWorking) {
  TextPool pool;
  internText(pool, "first");
  EXPECT_FALSE(reserveTextPool(pool, SIZE_MAX / 4, 10));
  EXPECT_FALSE(reserveTextPool(pool, 10, SIZE_MAX / 2));
  EXPECT_EQ(internText(pool, "first"), 0);
  EXPECT_EQ(internText(pool, "second"), 1);
}

}  // namespace
}  // namespace vlm
