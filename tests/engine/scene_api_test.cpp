// The scene exports on a running engine: a filled table becomes a default
// Scatter model on the engine thread; colours, water, legend switches, reset.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <thread>

#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "model/association_lookup.h"
#include "support/engine_fixture.h"
#include "support/scene_support.h"
#include "support/table_loader.h"

namespace vlm {
namespace {

class SceneApi : public test::EngineTest {
 protected:
  bool waitFor(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < end) {
      if (done()) return true;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
  }
};

TEST_F(SceneApi, ALoadedTableBecomesADefaultScatterModel) {
  ASSERT_TRUE(init());
  if (vlm_OpenWindow() != 1) GTEST_SKIP() << "no context for the hidden view window";
  auto state = currentState();
  test::loadTable(*state, {{"a", {"1", "2", "3", "4"}}, {"b", {"4", "3", "2", "1"}}, {"c", {"1", "1", "2", "2"}},
                           {"d", {"7", "8", "9", "10"}}});
  test::selectAll(*state);
  EXPECT_EQ(vlm_CreateDefaultModel(state->model->defaultModelKind), 1);
  ASSERT_TRUE(waitFor([] { return vlm_GetNumberOfObjects() == 4 && vlm_GetNumberOfAssociations() >= 5; }));
  {
    platform::DataLockGuard lock(state->main->dataLock);
    const AssociationSet& set = state->model->associations;
    EXPECT_EQ(attributeToField(set, ATTRIB_AXISX), 0);
    EXPECT_EQ(attributeToField(set, ATTRIB_AXISY), 1);
    EXPECT_EQ(attributeToField(set, ATTRIB_AXISZ), 2);
    EXPECT_EQ(attributeToField(set, ATTRIB_COLOR), 3);
    EXPECT_GE(attributeToAssociation(set, ATTRIB_SHAPE), 0) << "few samples: shapes at scale 80";
  }
  EXPECT_EQ(vlm_IsSaved(), 1);
  EXPECT_EQ(vlm_GetDefaultLabels(), 0) << "the builders show only the associated attributes";

  // Pressing Scatter again starts one field further on.
  vlm_CreateDefaultModel(1);
  ASSERT_TRUE(waitFor([&] {
    platform::DataLockGuard lock(state->main->dataLock);
    return attributeToField(state->model->associations, ATTRIB_AXISX) == 1;
  }));

  EXPECT_EQ(vlm_ModelReset(), 1);
  EXPECT_EQ(vlm_GetNumberOfAssociations(), 0);
  vlm_CloseWindow();
}

TEST_F(SceneApi, ColoursWaterAndLegendSwitches) {
  ASSERT_TRUE(init());
  vlm_GridSetColor(4, 0x123456);  // without an engine thread nothing is posted, the colour is set
  EXPECT_EQ(vlm_GetColorSetup(4), 0x123456u);
  EXPECT_EQ(vlm_GridSetColor(3, 0x123456), 0) << "row 3 holds no colour";
  EXPECT_EQ(vlm_GetColorSetup(3), 0u);
  EXPECT_EQ(vlm_GetColorSetup(99), 0u);
  EXPECT_EQ(vlm_GetWaterlevel(), 0);
  vlm_SetWaterlevel(1);
  EXPECT_EQ(vlm_GetWaterlevel(), 1);
  vlm_SetWaterlevel(0);
  EXPECT_EQ(vlm_GetWaterlevel(), 0);
  EXPECT_EQ(vlm_GetLabels(), 1);
  vlm_SetLabels(0);
  EXPECT_EQ(vlm_GetLabels(), 0);
  vlm_SetDefaultLabels(1);
  EXPECT_EQ(vlm_GetDefaultLabels(), 1);
  vlm_SetDefaultModel(3);
  EXPECT_EQ(currentState()->model->defaultModelKind, 3);
  EXPECT_EQ(vlm_GetNumberOfObjects(), 0);
}

}  // namespace
}  // namespace vlm
