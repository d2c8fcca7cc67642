#include <gtest/gtest.h>

#include "data/support/data_test_support.h"
#include "data/table_clear.h"
#include "data/table_text_load.h"
#include "data/table_text_write.h"

namespace vlm {
namespace {

void load(DataTable& table, std::string_view text) {
  clearTable(table);
  ASSERT_EQ(loadTableText(table, text, TableTextFormat::Clipboard, test::settings(), nullptr, {}).status,
            TextLoadStatus::Loaded);
  table.sourceKind = DSK_CLIPBOARD;
}

TEST(TableTextWrite, RoundTripNormalisesNumbersAndDropsMissingMarkers) {
  DataTable table;
  load(table, "a\tb\tc\r\n1\t2.50\tx\r\n2\tn/a\ty\r\n");
  const std::vector<uint8_t> flags(table.rowCapacity, 0);
  EXPECT_EQ(tableTextForCopy(table, table.rowCount, flags, false, test::settings()),
            "a\tb\tc\r\n1\t2.5\tx\r\n2\t\ty\r\n");
}

TEST(TableTextWrite, SelectedRowsOnly) {
  DataTable table;
  load(table, "a\r\n1\r\n2\r\n3\r\n");
  std::vector<uint8_t> flags(table.rowCapacity, 0);
  flags[0] = 1;
  flags[2] = 1;
  EXPECT_EQ(tableTextForCopy(table, 3, flags, true, test::settings()), "a\r\n1\r\n3\r\n");
}

TEST(TableTextWrite, OdbcLeavesTheFirstFieldOutAndWritesSelectedRowsOnly) {
  DataTable table;
  load(table, "id\tn\tr\tt\r\n1\t5\t2.5\tx\r\n2\t6\t3\ty\r\n");
  table.sourceKind = DSK_ODBC;
  table.fields[1].analysisClass = 4;  // SQL integer
  table.fields[2].analysisClass = 8;  // SQL double
  table.fields[3].analysisClass = 12; // SQL varchar
  std::vector<uint8_t> flags(table.rowCapacity, 0);
  EXPECT_EQ(tableTextForCopy(table, 2, flags, false, test::settings()), "n\tr\tt\r\n");
  flags[1] = 1;
  EXPECT_EQ(tableTextForCopy(table, 2, flags, false, test::settings(',')), "n\tr\tt\r\n6\t3\ty\r\n");
  table.fields[2].analysisClass = static_cast<uint8_t>(-3);  // binary: empty cells
  EXPECT_EQ(tableTextForCopy(table, 2, flags, false, test::settings()), "n\tr\tt\r\n6\t\ty\r\n");
}

TEST(TableTextWrite, OtherKindsCopyNothing) {
  DataTable table;
  load(table, "a\r\n1\r\n");
  table.sourceKind = DSK_NONE;
  EXPECT_EQ(tableTextForCopy(table, 1, {}, false, test::settings()), "");
}

}  // namespace
}  // namespace vlm
