// The selection and host-settings exports through the C API, with the engine
// threads running.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "engine/engine_state.h"
#include "engine/support/engine_fixture.h"
#include "engine/support/table_loader.h"
#include "engine/vlmapi.h"
#include "platform/host_bridge.h"

namespace vlm {
namespace {

bool eventually(const std::function<bool()>& done) {
  for (int i = 0; i < 400; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

class SelectionApi : public test::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_TRUE(init());
    ASSERT_EQ(vlm_OpenWindow(), 1);
    state_ = currentState();
    test::loadTable(*state_, {{"a", {"1", "2", "3"}}});
    platform::DataLockGuard lock(state_->main->dataLock);
    std::fill(state_->model->selectionFlags.begin(), state_->model->selectionFlags.end(), 1);
    state_->model->selectedCount = 3;
  }
  std::shared_ptr<EngineState> state_;
};

TEST_F(SelectionApi, SelectObjectTwiceLeavesTheCountUnchanged) {
  EXPECT_EQ(vlm_SelectObject(1), 1);
  EXPECT_TRUE(eventually([] { return vlm_GetNumberOfSelected() == 2; }));
  EXPECT_EQ(vlm_IsObjectSelected(1), 0);
  EXPECT_EQ(vlm_GetSelectedObjectType(), 1);
  EXPECT_EQ(vlm_GetSelectedObjectIndex(), 1);
  EXPECT_EQ(vlm_GetSelectedObject(), 1);
  vlm_SelectObject(1);
  EXPECT_TRUE(eventually([] { return vlm_GetNumberOfSelected() == 3; }));
  EXPECT_EQ(vlm_IsObjectSelected(1), 1);
  EXPECT_EQ(vlm_IsObjectSelected(3), 0);
  EXPECT_EQ(vlm_IsObjectSelected(-4), 0);
}

TEST_F(SelectionApi, DeleteInvertAndClear) {
  vlm_SelectObject(0);
  vlm_SelectionInvert();  // only row 0 is selected now
  EXPECT_TRUE(eventually([] { return vlm_GetNumberOfSelected() == 1; }));
  vlm_DeleteSelected();
  EXPECT_TRUE(eventually([] { return vlm_GetNumberOfHits() == 2; }));
  EXPECT_EQ(vlm_GetNumberOfSelected(), 0);
  vlm_SelectionInvert();
  EXPECT_TRUE(eventually([] { return vlm_GetNumberOfSelected() == 2; }));
  EXPECT_EQ(vlm_SetSelectionState(0), 1);
  EXPECT_EQ(vlm_GetSelectionState(), 0);
  EXPECT_TRUE(eventually([] { return vlm_GetNumberOfSelected() == 0; }));
  vlm_SetSelectionState(5);
  EXPECT_EQ(vlm_GetSelectionState(), 5);
  vlm_SetSelectedObjectType(2);
  vlm_SetSelectedObjectIndex(7);
  EXPECT_EQ(vlm_GetSelectedObjectType(), 2);
  EXPECT_EQ(vlm_GetSelectedObjectIndex(), 7);
}

TEST_F(SelectionApi, HostSettingsAreWrittenOnlyWhenChanged) {
  EXPECT_EQ(vlm_ReadHostDword("WinPosX", 17), 17u);
  EXPECT_EQ(vlm_WriteHostDword("ToolbarFull", 1, 1), 1);
  EXPECT_EQ(vlm_ReadHostDword("ToolbarFull", 5), 5u) << "equal to the default: nothing written";
  EXPECT_EQ(vlm_WriteHostDword("ToolbarFull", 0, 1), 1);
  EXPECT_EQ(vlm_ReadHostDword("ToolbarFull", 5), 0u);
  char buffer[8];
  EXPECT_EQ(vlm_ReadHostText("LastFile0", buffer, sizeof buffer), -1);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(vlm_WriteHostText("LastFile0", "/tmp/a-long-name.tsv"), 1);
  EXPECT_EQ(vlm_ReadHostText("LastFile0", buffer, sizeof buffer), 20);
  EXPECT_STREQ(buffer, "/tmp/a-");
}

TEST_F(SelectionApi, ASelectedRowReadsSelectedWhileALoadHoldsTheLock) {
  platform::DataLock& lock = state_->main->dataLock;
  std::atomic<bool> holding{false};
  std::thread load([&] {  // a load keeping the lock for longer than a moment
    platform::DataLockGuard guard(lock);
    holding = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
  });
  while (!holding) std::this_thread::yield();
  EXPECT_EQ(vlm_IsObjectSelected(1), 1);
  load.join();
}

TEST_F(SelectionApi, AHostAnsweringTheHolderReadsTheFlagsAtOnce) {
  // A click handler holds the lock and asks the host for a popup menu; the
  // menu asks whether the row is selected.
  platform::DataLock& lock = state_->main->dataLock;
  std::atomic<int> answer{-1};
  std::atomic<bool> done{false};
  std::thread engine([&] {
    platform::DataLockGuard guard(lock);
    platform::HostBridge::instance().runOnHost([&] {
      answer = vlm_IsObjectSelected(2);
      return intptr_t{0};
    });
    done = true;
  });
  ASSERT_TRUE(platform::HostBridge::instance().waitPumping([&] { return done.load(); }, std::chrono::seconds(10)));
  engine.join();
  EXPECT_EQ(answer.load(), 1);
}

}  // namespace
}  // namespace vlm
