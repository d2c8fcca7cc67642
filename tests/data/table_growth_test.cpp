#include <gtest/gtest.h>

#include "data/support/data_test_support.h"
#include "data/table_clear.h"
#include "data/table_growth.h"
#include "data/text_pool.h"

namespace vlm {
namespace {

TEST(TableGrowth, CapacityGrowsInStepsOf500) {
  EXPECT_EQ(rowCapacityFor(1), 500);
  EXPECT_EQ(rowCapacityFor(500), 500);
  EXPECT_EQ(rowCapacityFor(501), 1000);
  EXPECT_EQ(rowCapacityFor(1000), 1000);
  EXPECT_EQ(rowCapacityFor(1001), 1500);
  EXPECT_EQ(rowCapacityFor(0), 500);
}

TEST(TableGrowth, CapacityBeyondInt32IsRefused) {
  EXPECT_EQ(rowCapacityFor(2147483500), 2147483500);
  EXPECT_EQ(rowCapacityFor(2147483501), -1);
  EXPECT_EQ(rowCapacityFor(INT32_MAX), -1);
}

TEST(TableGrowth, GrowingAllocatesEveryFieldAndTheRowIds) {
  for (int32_t request : {1, 500, 501}) {
    DataTable table;
    table.fieldCount = 3;
    ASSERT_TRUE(growRows(table, request));
    const int32_t expected = request <= 500 ? 500 : 1000;
    EXPECT_EQ(table.rowCapacity, expected) << request;
    EXPECT_EQ(table.rowIds.size(), size_t(expected));
    for (int f = 0; f < 3; ++f) EXPECT_EQ(table.fields[f].cells.size(), size_t(expected));
    // Fields not in use get no cells.
    EXPECT_TRUE(table.fields[3].cells.empty());
  }
}

TEST(TableGrowth, NewRowIdsAreMinusOneAndNewCellsAreNotPresent) {
  DataTable table;
  table.fieldCount = 1;
  ASSERT_TRUE(growRows(table, 10));
  for (int i = 0; i < 10; ++i) {
    table.rowIds[i] = 100 + i;
    table.fields[0].cells[i].flags = 0xFF;
    table.fields[0].cells[i].value.i = 7;
  }
  table.rowCount = 10;
  ASSERT_TRUE(growRows(table, 501));
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(table.rowIds[i], 100 + i);
    EXPECT_EQ(table.fields[0].cells[i].flags, 0xFF);
    EXPECT_EQ(table.fields[0].cells[i].value.i, 7);
  }
  for (int i = 10; i < 1000; ++i) {
    ASSERT_EQ(table.rowIds[i], -1) << i;
    ASSERT_EQ(table.fields[0].cells[i].flags & 0x0F, 0) << i;
  }
}

TEST(TableGrowth, RowsBetweenRowCountAndOldCapacityAreResetToo) {
  // A load sets the row count only at its end; until then every slot from the
  // row count on counts as new.
  DataTable table;
  table.fieldCount = 1;
  ASSERT_TRUE(growRows(table, 100));
  table.rowIds[200] = 5;
  table.fields[0].cells[200].flags = 0x0F;
  table.rowCount = 0;
  ASSERT_TRUE(growRows(table, 600));
  EXPECT_EQ(table.rowIds[200], -1);
  EXPECT_EQ(table.fields[0].cells[200].flags & 0x0F, 0);
}

TEST(TableGrowth, AddedCellsAreZeroWhetherTheMemoryIsFreshOrLeftByALongerTable) {
  DataTable table;
  table.fieldCount = 2;
  // Fresh memory, small and big (a big array is mapped and never written by the growth).
  for (int32_t rows : {10, 300000}) {
    ASSERT_TRUE(growRows(table, rows));
    for (int f = 0; f < 2; ++f)
      for (size_t i = 0; i < table.fields[f].cells.size(); i += 997) {
        const Cell& c = table.fields[f].cells[i];
        ASSERT_TRUE(c.value.i == 0 && c.engineWord == 0 && c.flags == 0) << rows << " " << i;
      }
  }
  // Cells of a longer table dropped without freeing their memory come back cleared.
  for (size_t i = 0; i < table.fields[0].cells.size(); ++i) table.fields[0].cells[i] = Cell{{7}, 9, 0xFF};
  table.fields[0].cells.resize(1000);
  table.fields[1].cells.resize(1000);
  table.rowCapacity = 1000;
  table.rowCount = 10;
  ASSERT_TRUE(growRows(table, 200000));
  const CellArray& cells = table.fields[0].cells;
  ASSERT_EQ(cells.size(), 200000u);
  for (size_t i = 0; i < 10; ++i) ASSERT_EQ(cells[i].value.i, 7);
  for (size_t i = 10; i < 1000; ++i) ASSERT_EQ(cells[i].flags & 0x0F, 0) << i;
  for (size_t i = 1000; i < cells.size(); ++i)
    ASSERT_TRUE(cells[i].value.i == 0 && cells[i].engineWord == 0 && cells[i].flags == 0) << i;
}

TEST(TableGrowth, EnoughCapacitySucceedsWithoutCallingTheHooks) {
  DataTable table;
  int calls = 0;
  table.hooks.grow = [&](int32_t, int32_t) { return ++calls, true; };
  ASSERT_TRUE(growRows(table, 400));
  EXPECT_EQ(calls, 1);
  ASSERT_TRUE(growRows(table, 500));
  EXPECT_EQ(calls, 1);
}

TEST(TableGrowth, HooksSeeTheOldRowCountAndTheNewCapacity) {
  DataTable table;
  table.rowCount = 0;
  int32_t seenRows = -5, seenCapacity = -5;
  int invalidations = 0;
  table.hooks.grow = [&](int32_t rows, int32_t capacity) {
    seenRows = rows;
    seenCapacity = capacity;
    return true;
  };
  table.hooks.invalidateGraphicCache = [&] { ++invalidations; };
  ASSERT_TRUE(growRows(table, 300));
  table.rowCount = 300;
  ASSERT_TRUE(growRows(table, 1200));
  EXPECT_EQ(seenRows, 300);
  EXPECT_EQ(seenCapacity, 1500);
  EXPECT_EQ(invalidations, 2);
}

TEST(TableGrowth, FailingHookStopsTheGrowthAndKeepsTheOldArrays) {
  test::ErrorRecorder errors;
  DataTable table;
  table.fieldCount = 1;
  ASSERT_TRUE(growRows(table, 10));
  table.hooks.grow = [](int32_t, int32_t) { return false; };
  EXPECT_FALSE(growRows(table, 501));
  EXPECT_EQ(table.rowCapacity, 500);
  EXPECT_EQ(table.rowIds.size(), 500u);
  EXPECT_EQ(table.fields[0].cells.size(), 500u);
  EXPECT_TRUE(errors.messages.empty());  // the hook reports its own failure
}

TEST(TableGrowth, ImpossibleCapacityReportsIds) {
  test::ErrorRecorder errors;
  DataTable table;
  bool hookCalled = false;
  table.hooks.grow = [&](int32_t, int32_t) { return hookCalled = true; };
  EXPECT_FALSE(growRows(table, INT32_MAX));
  EXPECT_FALSE(hookCalled);
  EXPECT_EQ(table.rowCapacity, 0);
  ASSERT_EQ(errors.messages.size(), 1u);
  EXPECT_EQ(errors.messages[0], "Unable to store IDs!");
}

#ifndef VLM_NO_ADDRESS_LIMIT
// Runs in a child process whose address space is limited, so that the cell
// arrays cannot be allocated while the row ids still can.
void growUnderAddressLimit() {
  test::ErrorRecorder errors;
  DataTable table;
  table.fieldCount = 2;
  if (!growRows(table, 1000)) std::_Exit(10);
  table.fields[0].cells[3].value.i = 42;
  // Room for about 40 MB more: 4M row ids (16 MB) fit, 4M cells (48 MB) do not.
  if (!test::limitAddressSpace(40ul * 1024 * 1024)) std::_Exit(12);
  const bool grown = growRows(table, 4000000);
  if (grown) std::_Exit(13);
  if (errors.messages.size() != 1 || errors.messages[0] != "Unable to store fields!") std::_Exit(14);
  if (table.rowCapacity != 1000) std::_Exit(15);
  if (table.fields[0].cells.size() != 1000 || table.fields[0].cells[3].value.i != 42) std::_Exit(16);
  std::_Exit(0);
}

TEST(TableGrowthDeathTest, CellsThatCannotBeAllocatedReportFieldsAndKeepTheOldArrays) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(growUnderAddressLimit(), ::testing::ExitedWithCode(0), "");
}
#endif

TEST(TableClear, EmptiesEverythingAndCallsTheHooks) {
  DataTable table;
  int cleared = 0, invalidated = 0;
  table.hooks.clear = [&] { ++cleared; };
  table.hooks.invalidateGraphicCache = [&] { ++invalidated; };
  table.fieldCount = 2;
  ASSERT_TRUE(growRows(table, 10));
  table.rowCount = 10;
  internText(table.textPool, "a");
  internText(table.textPool, "b");
  table.timeTable.entries.resize(3);
  DataField& f = table.fields[1];
  std::snprintf(f.name, sizeof f.name, "Name");
  f.type = FT_TEXT;
  f.analysisClass = AC_TEXT;
  f.flags = kFieldValid;
  f.numberFormatClass = 2;
  f.dateOrderState = 3;
  f.dateComponentMax[1] = 40;
  f.distinctCount = 4;
  f.distinct.resize(4);
  table.fields[2000].analysisClass = AC_FREE;
  table.currentAccessObject = 5;
  invalidated = 0;

  clearTable(table);

  EXPECT_EQ(table.fieldCount, 0);
  EXPECT_EQ(table.rowCount, 0);
  EXPECT_EQ(table.rowCapacity, 0);
  EXPECT_EQ(table.currentAccessObject, 0);
  EXPECT_TRUE(table.rowIds.empty());
  EXPECT_EQ(poolSize(table.textPool), 0);
  EXPECT_TRUE(table.textPool.chars.empty());
  EXPECT_EQ(table.textPool.slotCount, 0);
  EXPECT_TRUE(table.timeTable.entries.empty());
  for (const DataField& field : table.fields) {
    ASSERT_EQ(field.type, FT_NONE);
    ASSERT_EQ(field.analysisClass, AC_NONE);
    ASSERT_EQ(field.name[0], '\0');
    ASSERT_TRUE(field.cells.empty());
    ASSERT_EQ(field.flags & kFieldValid, 0);
    ASSERT_EQ(field.numberFormatClass, 0);
    ASSERT_EQ(field.dateOrderState, 0);
    ASSERT_EQ(field.distinctCount, 0);
    ASSERT_TRUE(field.distinct.empty());
    ASSERT_EQ(field.dateComponentMax[1], 0);
  }
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(invalidated, 1);
}

TEST(TableClear, AFreshTableMarksEveryFieldFree) {
  DataTable table;
  EXPECT_EQ(table.sourceKind, DSK_NONE);
  for (const DataField& f : table.fields) {
    ASSERT_EQ(f.analysisClass, AC_FREE);
    ASSERT_TRUE(f.cells.empty());
    ASSERT_EQ(f.flags & kFieldValid, 0);
  }
}

TEST(TableClear, ATableCanBeInternedIntoAgainAfterClearing) {
  DataTable table;
  internText(table.textPool, "stale");
  internText(table.textPool, "kept");
  clearTable(table);
  // The pool's index must have been forgotten with its texts.
  EXPECT_EQ(table.textPool.index.count, 0);
  EXPECT_EQ(internText(table.textPool, "kept"), 0);
}

}  // namespace
}  // namespace vlm
