// The selection operations on a loaded table: toggling, clearing, inverting and
// deleting the selected rows.
#include <gtest/gtest.h>

#include <algorithm>

#include "data/value_text.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/picking/selection_ops.h"
#include "support/render_support.h"
#include "support/table_loader.h"
#include "data/text_pool.h"

namespace vlm {
namespace {

class SelectionOps : public ::testing::Test {
 protected:
  void SetUp() override {
    state = test::makeRenderState();
    installTableHooks(state);
  }
  void load(const std::vector<std::string>& names, int sourceKind = DSK_CLIPBOARD) {
    std::vector<std::string> numbers;
    for (size_t i = 0; i < names.size(); ++i) numbers.push_back(std::to_string(i * 10));
    test::loadTable(*state, {{"name", names}, {"n", numbers}}, sourceKind);
    for (size_t i = 0; i < names.size(); ++i) state->data->rowIds[i] = static_cast<int32_t>(100 + i);
  }
  std::string text(int row) {
    const DataField& f = state->data->fields[0];
    return std::string(*poolText(state->data->textPool, f.cells[static_cast<size_t>(row)].value.i));
  }
  uint8_t& flag(int row) { return state->model->selectionFlags[static_cast<size_t>(row)]; }
  std::shared_ptr<EngineState> state;
};

TEST_F(SelectionOps, SelectingASampleTwiceLeavesTheCountUnchanged) {
  load({"a", "b", "c"});
  state->model->selectedCount = 0;
  selectObjectLocked(*state, 1);
  EXPECT_EQ(flag(1), 1);
  EXPECT_EQ(state->model->selectedCount.load(), 1);
  EXPECT_EQ(state->main->input.selectedObjectType.load(), 1);
  EXPECT_EQ(state->main->input.selectedObjectIndex.load(), 1);
  selectObjectLocked(*state, 1);
  EXPECT_EQ(flag(1), 0);
  EXPECT_EQ(state->model->selectedCount.load(), 0);
  selectObjectLocked(*state, 1);
  selectObjectLocked(*state, 1);
  selectObjectLocked(*state, 1);
  EXPECT_EQ(state->model->selectedCount.load(), 1);
}

TEST_F(SelectionOps, ClearingNeverGoesBelowZeroAndOutsideTheTableNothingHappens) {
  load({"a", "b"});
  flag(0) = 1;
  state->model->selectedCount = 0;
  selectObjectLocked(*state, 0);
  EXPECT_EQ(state->model->selectedCount.load(), 0);
  selectObjectLocked(*state, 2);
  selectObjectLocked(*state, 1999999999);
  EXPECT_EQ(state->model->selectedCount.load(), 0);
}

TEST_F(SelectionOps, OtherNamesBecomeTheSelectedObject) {
  load({"a"});
  selectObjectLocked(*state, -1);
  EXPECT_EQ(state->main->input.selectedObjectType.load(), 0);
  EXPECT_EQ(state->main->input.selectedObjectIndex.load(), -1);
  selectObjectLocked(*state, 2000000300);
  EXPECT_EQ(state->main->input.selectedObjectIndex.load(), 2000000300);
  selectObjectLocked(*state, 2000000000);
  EXPECT_EQ(state->main->input.actionMode, 13);
  EXPECT_EQ(static_cast<int32_t>(state->view->view.waterLevelState), 10);
  selectObjectLocked(*state, 2000000103);
  EXPECT_EQ(state->main->input.selectedObjectType.load(), 2);
  EXPECT_EQ(state->main->input.selectedObjectIndex.load(), 3);
  EXPECT_EQ(state->main->input.actionMode, 14);
  EXPECT_EQ(state->main->input.lastPickedName, 2000000103);
}

TEST_F(SelectionOps, InvertCountsAndAsksForARebuild) {
  load({"a", "b", "c", "d"});
  std::fill(state->model->selectionFlags.begin(), state->model->selectionFlags.end(), 0);
  flag(0) = 1, flag(1) = 6;
  test::drainEngineQueue(*state);
  invertSelectionLocked(*state);
  EXPECT_EQ(flag(0), 0);
  EXPECT_EQ(flag(1), 0);
  EXPECT_EQ(flag(2), 1);
  EXPECT_EQ(flag(3), 1);
  EXPECT_EQ(state->model->selectedCount.load(), 2);
  EXPECT_EQ(test::drainEngineQueue(*state), std::vector<int32_t>{CMD_UPDATE_MODEL});
}

TEST_F(SelectionOps, StateZeroClearsEverything) {
  load({"a", "b"});
  flag(0) = 1, flag(1) = 1;
  state->model->selectedCount = 2;
  test::drainEngineQueue(*state);
  clearSelectionLocked(*state);
  EXPECT_EQ(flag(0), 0);
  EXPECT_EQ(flag(1), 0);
  EXPECT_EQ(state->model->selectedCount.load(), 0);
  EXPECT_EQ(test::drainEngineQueue(*state), std::vector<int32_t>{CMD_DRAW_SCENE});
}

TEST_F(SelectionOps, DeletingTheFirstRowKeepsTheOthersInOrder) {
  load({"A", "B", "C"});
  std::fill(state->model->selectionFlags.begin(), state->model->selectionFlags.end(), 0);
  flag(0) = 1;
  state->model->selectedCount = 1;
  EXPECT_TRUE(deleteSelectedLocked(*state));
  ASSERT_EQ(state->data->rowCount, 2);
  EXPECT_EQ(text(0), "B");
  EXPECT_EQ(text(1), "C");
  EXPECT_EQ(state->data->fields[1].cells[0].value.i, 10);
  EXPECT_EQ(state->data->rowIds[0], 101) << "row ids move with their rows";
  EXPECT_EQ(state->data->rowIds[1], 102);
  EXPECT_EQ(state->model->selectedCount.load(), 0);
  EXPECT_EQ(flag(0), 0);
  EXPECT_EQ(flag(1), 0);
}

TEST_F(SelectionOps, WithNothingSelectedTheTableStaysAsItIs) {
  load({"A", "B", "C"});
  std::fill(state->model->selectionFlags.begin(), state->model->selectionFlags.end(), 0);
  state->model->selectedCount = 0;
  test::drainEngineQueue(*state);
  EXPECT_FALSE(deleteSelectedLocked(*state));
  EXPECT_EQ(state->data->rowCount, 3);
  EXPECT_EQ(text(2), "C") << "the last row stays";
  EXPECT_TRUE(test::drainEngineQueue(*state).empty());
}

TEST_F(SelectionOps, DeletingScatteredRowsIsStableForEverySourceKind) {
  for (int kind : {DSK_CLIPBOARD, DSK_ACCESS, DSK_EXCEL}) {
    load({"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7"}, kind);
    std::fill(state->model->selectionFlags.begin(), state->model->selectionFlags.end(), 0);
    for (int r : {1, 2, 5, 7}) flag(r) = 1;
    flag(3) = 6;  // to be re-evaluated is not selected: it stays
    state->model->selectedCount = 4;
    EXPECT_TRUE(deleteSelectedLocked(*state));
    ASSERT_EQ(state->data->rowCount, 4) << kind;
    const std::vector<std::string> expected = {"r0", "r3", "r4", "r6"};
    const std::vector<int32_t> ids = {100, 103, 104, 106};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(text(i), expected[static_cast<size_t>(i)]) << kind;
      EXPECT_EQ(state->data->rowIds[static_cast<size_t>(i)], ids[static_cast<size_t>(i)]) << kind;
    }
    EXPECT_EQ(state->data->rowIds[4], -1);
  }
}

// A size field's byte counts lie beside its cells and move with them.
TEST_F(SelectionOps, DeletedRowsTakeTheirSizesAlong) {
  load({"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7"});
  DataField& sizes = state->data->fields[1];
  sizes.type = FT_SIZE;
  for (size_t r = 0; r < 8; ++r) setSizeBytes(sizes, r, 1000 + static_cast<int32_t>(r));
  std::fill(state->model->selectionFlags.begin(), state->model->selectionFlags.end(), 0);
  for (int r : {1, 2, 5, 7}) flag(r) = 1;
  state->model->selectedCount = 4;
  EXPECT_TRUE(deleteSelectedLocked(*state));
  ASSERT_EQ(state->data->rowCount, 4);
  const int32_t expected[] = {1000, 1003, 1004, 1006, 0, 0, 0, 0};
  for (size_t r = 0; r < 8; ++r) EXPECT_EQ(sizeBytesOf(sizes, sizes.cells[r]), expected[r]) << r;
}

TEST_F(SelectionOps, DeletingEveryRowLeavesAnEmptyTable) {
  load({"A", "B"});
  flag(0) = 1, flag(1) = 1;
  EXPECT_TRUE(deleteSelectedLocked(*state));
  EXPECT_EQ(state->data->rowCount, 0);
}

}  // namespace
}  // namespace vlm
