#include <cstring>
#include <string>

#include "engine/engine_state.h"
#include "engine/support/engine_fixture.h"
#include "engine/support/table_loader.h"
#include "engine/vlmapi.h"

namespace vlm {
namespace {

class DataApiTest : public test::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_TRUE(init());
    state_ = currentState();
    state_->main->regional.decimalSeparator = '.';
    state_->main->regional.decimalSeparatorKnown = true;
  }
  std::shared_ptr<EngineState> state_;
};

TEST_F(DataApiTest, GettersAnswerForALoadedTable) {
  test::loadTable(*state_, {{"Id", {"1", "2", "1234567"}}, {"Name", {"a", "", "c"}}, {"", {"1.5", "2", "3"}}});
  EXPECT_EQ(vlm_GetNumberOfFields(), 3);
  EXPECT_EQ(vlm_GetNumberOfHits(), 3);
  char buf[1024];
  EXPECT_EQ(vlm_GetFieldName(0, buf), 3);
  EXPECT_STREQ(buf, "Id");
  vlm_GetFieldName(2, buf);
  EXPECT_STREQ(buf, "(Column3)");
  EXPECT_EQ(vlm_GetFieldType(0), FT_INTEGER);
  EXPECT_EQ(vlm_GetFieldType(1), FT_TEXT);
  EXPECT_EQ(vlm_GetFieldType(2), FT_REAL);
  EXPECT_EQ(vlm_GetValueAsText(0, 2, buf, 1), 1);
  EXPECT_STREQ(buf, "1,234,567");
  EXPECT_EQ(vlm_GetValueAsText(1, 1, buf, 0), 0);
  EXPECT_STREQ(buf, "N/A");
  vlm_GetValueAsText(2, 0, buf, 0);
  EXPECT_STREQ(buf, "1.5");
}

TEST_F(DataApiTest, IndexesOutsideTheTableGiveEmptyAnswers) {
  test::loadTable(*state_, {{"x", {"1"}}});
  char buf[1024] = "untouched";
  EXPECT_EQ(vlm_GetValueAsText(5, 0, buf, 0), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(vlm_GetValueAsText(0, 99, buf, 0), 0);
  EXPECT_EQ(vlm_GetFieldType(-3), 0);
  EXPECT_EQ(vlm_GetFieldType(2048), 0);
  EXPECT_EQ(vlm_GetFieldValueAsText(7, 1, buf), 0);
  EXPECT_STREQ(buf, "N/A");
}

TEST_F(DataApiTest, LongFieldNamesAreCutToTheCallersBuffer) {
  std::string name(1500, 'n');
  name.replace(1020, 3, "\xc3\xa9\xc3");  // a two-byte character across the cut
  test::loadTable(*state_, {{name, {"1"}}});
  char buf[1024];
  const int n = vlm_GetFieldName(0, buf);
  EXPECT_LE(std::strlen(buf), 1023u);
  EXPECT_EQ(n, static_cast<int>(std::strlen(buf)) + 1);
}

TEST_F(DataApiTest, RowIndexByKind) {
  test::loadTable(*state_, {{"x", {"1", "2", "3", "4", "5", "6", "7", "8"}}});
  state_->data->rowIds[7] = 42;
  EXPECT_EQ(vlm_GetRowIndex(3, 7), 7);
  EXPECT_EQ(vlm_GetRowIndex(2, 7), 42);
  EXPECT_EQ(vlm_GetRowIndex(1, 7), 42);
}

TEST_F(DataApiTest, AvailableFieldsOnlyForSpreadsheetDatabaseAndClipboard) {
  test::loadTable(*state_, {{"a", {"1"}}, {"b", {"2"}}});
  EXPECT_EQ(vlm_GetFirstAvailableField(), 0);
  EXPECT_EQ(vlm_GetNextAvailableField(), 1);
  EXPECT_EQ(vlm_GetNextAvailableField(), -1);
  test::loadTable(*state_, {{"a", {"1"}}}, DSK_ODBC);
  EXPECT_EQ(vlm_GetFirstAvailableField(), -1);
  vlm_InitializeDataMemory();
  EXPECT_EQ(vlm_GetFirstAvailableField(), -1);
}

TEST_F(DataApiTest, GrowthKeepsEveryPerRowArrayInStep) {
  test::loadTable(*state_, {{"v", {"1", "2", "3"}}});
  vlm_AssociateField(0, 0, 2, -1, 0);
  vlm_AssociateField(-1, 0, 1, -1, 0);
  test::loadTable(*state_, {{"v", std::vector<std::string>(1200, "5")}});
  EXPECT_EQ(state_->data->rowCapacity, 1500);
  EXPECT_EQ(state_->model->selectionFlags.size(), 1500u);
  EXPECT_EQ(state_->main->selectionBuffer.size(), 4u * 1500 + 100);
  const auto& set = state_->model->associations;
  for (int i = 0; i < set.count; ++i) {
    ASSERT_TRUE(set.passes[static_cast<size_t>(i)].values);
    EXPECT_EQ(valueCount(set.passes[static_cast<size_t>(i)]), 1500u);
    EXPECT_EQ(set.passes[static_cast<size_t>(i)].values, set.saved[static_cast<size_t>(i)].values);
  }
}

TEST_F(DataApiTest, ClearingFreesThePerRowArrays) {
  test::loadTable(*state_, {{"v", {"1", "2"}}});
  EXPECT_EQ(vlm_InitializeDataMemory(), 1);
  EXPECT_EQ(vlm_GetNumberOfHits(), 0);
  EXPECT_EQ(vlm_GetNumberOfFields(), 0);
  EXPECT_TRUE(state_->model->selectionFlags.empty());
  EXPECT_TRUE(state_->main->selectionBuffer.empty());
  EXPECT_TRUE(state_->main->dataLock.isFree());
}

}  // namespace
}  // namespace vlm
