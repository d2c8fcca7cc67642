// Exports and keys that read or change what the data lock guards, while a
// load holds it: each waits for the lock or reads what the last rebuild left,
// never the table or the associations in the middle of a change.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "engine/engine_state.h"
#include "engine/support/engine_fixture.h"
#include "engine/support/table_loader.h"
#include "engine/vlmapi.h"
#include "model/association.h"
#include "model/association_ops.h"

namespace vlm {
namespace {

bool eventually(const std::function<bool()>& done) {
  for (int i = 0; i < 1000; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

// Holds the data lock on a thread of its own, as a load does, until released.
class LoadHolding {
 public:
  explicit LoadHolding(platform::DataLock& lock) : lock_(lock) {
    thread_ = std::thread([this] {
      platform::DataLockGuard guard(lock_);
      holding_ = true;
      while (!letGo_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    while (!holding_) std::this_thread::yield();
  }
  ~LoadHolding() { end(); }
  void end() {
    letGo_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  platform::DataLock& lock_;
  std::atomic<bool> holding_{false}, letGo_{false};
  std::thread thread_;
};

class UnderLoad : public test::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_TRUE(init());
    state_ = currentState();
    // The table and the model are complete before the window opens: every
    // rebuild then frames the same extents, the one the window open posts
    // included, whenever it runs. Waiting for "some rebuild" is then enough.
    test::loadTable(*state_, {{"x", {"1", "5", "9"}}, {"z", {"10", "400", "1000"}}});
    vlm_AssociateField(0, 0, ATTRIB_AXISX, -1, 0);
    vlm_AssociateField(1, 0, ATTRIB_AXISZ, -1, 0);
    ASSERT_EQ(vlm_OpenWindow(), 1);
    vlm_UpdateModel(0);
    ASSERT_TRUE(eventually([this] {
      std::lock_guard lock(state_->view->view.mutex);
      return state_->view->view.dataExtentsValid;
    }));
  }
  void TearDown() override {
    vlm_CloseWindow();
    state_.reset();
    EngineTest::TearDown();
  }
  // The count, read under the lock as the engine thread changes it.
  int associations() {
    platform::DataLockGuard guard(state_->main->dataLock);
    return state_->model->associations.count;
  }
  std::shared_ptr<EngineState> state_;
};

TEST_F(UnderLoad, AModelPositionResetReadsTheExtentsOfTheLastRebuild) {
  vlm_ResetModelPosition();
  float expected[3];
  {
    std::lock_guard lock(state_->view->view.mutex);
    std::copy(state_->view->view.cameraTranslation, state_->view->view.cameraTranslation + 3, expected);
  }
  EXPECT_NE(expected[2], -200.0f) << "framed by the data, not the default";
  LoadHolding load(state_->main->dataLock);
  {
    std::lock_guard lock(state_->view->view.mutex);
    state_->view->view.cameraTranslation[2] = 0.0f;
  }
  const auto start = std::chrono::steady_clock::now();
  vlm_ResetModelPosition();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "it waited for the load";
  std::lock_guard lock(state_->view->view.mutex);
  for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(state_->view->view.cameraTranslation[i], expected[i]) << i;
}

TEST_F(UnderLoad, EscapeAndDeleteChangeTheAssociationsOnlyUnderTheLock) {
  for (int key : {0x1B, 0x2E}) {  // Escape, Delete
    const int before = associations();
    ASSERT_GT(before, 0);
    vlm_SetSelectedObjectType(2);
    vlm_SetSelectedObjectIndex(key == 0x1B ? ATTRIB_AXISZ : ATTRIB_AXISX);
    LoadHolding load(state_->main->dataLock);
    vlm_OnKeyDown(key);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(state_->model->associations.count, before) << "changed while the load held the lock";
    load.end();
    EXPECT_TRUE(eventually([&] { return associations() == before - 1; })) << key;
  }
}

// A load that rebuilds the associations holds the lock from the first change
// to the last: the getters wait for it rather than read a model half made.
TEST_F(UnderLoad, TheAssociationGettersWaitForALoadThatRebuildsThem) {
  ASSERT_EQ(vlm_GetNumberOfAssociations(), 2);
  std::atomic<bool> cleared{false};
  std::thread load([&] {
    platform::DataLockGuard guard(state_->main->dataLock);
    ModelContext ctx = modelContext(*state_);
    deleteAllAssociationsLocked(ctx);
    cleared = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    associateFieldLocked(ctx, 1, 0, ATTRIB_AXISX, -1, 0);
    associateFieldLocked(ctx, 0, 0, ATTRIB_AXISZ, -1, 0);
  });
  while (!cleared) std::this_thread::yield();
  EXPECT_EQ(vlm_GetNumberOfAssociations(), 2) << "read in the middle of the load";
  EXPECT_EQ(vlm_AttributeToField(ATTRIB_AXISX), 1);
  EXPECT_EQ(vlm_AttributeToField(ATTRIB_AXISZ), 0);
  EXPECT_GE(vlm_AttributeToAssociation(ATTRIB_AXISZ), 0);
  load.join();
}

}  // namespace
}  // namespace vlm
