// A rebuild's normalisation runs on every frame that changes the model; it must not
// touch the heap once the model has been built.
#include <gtest/gtest.h>

#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/normalise.h"
#include "model/space_settings_table.h"
#include "model/support/alloc_counter.h"
#include "model/support/model_world.h"

namespace vlm {
namespace {

TEST(NormaliseAllocations, NonePerRebuild) {
  test::ModelWorld w;
  std::vector<std::optional<int32_t>> ints;
  std::vector<std::optional<float>> reals;
  std::vector<std::optional<std::string>> texts;
  for (int i = 0; i < 2000; ++i) {
    ints.push_back(i % 7 == 0 ? std::nullopt : std::optional<int32_t>(i));
    reals.push_back(static_cast<float>(i) * 0.5f - 100.0f);
    texts.push_back("category number " + std::to_string(i % 13));
  }
  const int32_t fi = test::addIntegerField(*w.table, "I", ints);
  const int32_t fr = test::addRealField(*w.table, "R", reals);
  const int32_t ft = test::addTextField(*w.table, "T", texts);
  w.hooks.openSound = [] { return true; };
  auto ctx = w.ctx();
  associateFieldLocked(ctx, fi, 0, ATTRIB_AXISX, -1, 0);
  associateFieldLocked(ctx, fr, 0, ATTRIB_AXISY, -1, MAP_LOGN);
  associateFieldLocked(ctx, ft, 0, ATTRIB_AXISZ, -1, 0);
  associateFieldLocked(ctx, ft, 0, ATTRIB_COLOR, -1, 0);
  associateFieldLocked(ctx, fr, 0, ATTRIB_SIZE, -1, MAP_EXP | MAP_INVERSE);
  associateFieldLocked(ctx, ft, 0, ATTRIB_SHAPE, -1, 0);
  associateFieldLocked(ctx, fi, 0, ATTRIB_SOUND_FREQ, -1, 0);
  associateFieldLocked(ctx, -1, 0, ATTRIB_OPACITY, -1, 0);
  SpaceSettings space;
  fillDefaultSpaceSettings(space);
  roundAndNormaliseLocked(ctx, space);  // builds the colour entries once

  test::AllocationCounter counter;
  for (int i = 0; i < 3; ++i) roundAndNormaliseLocked(ctx, space);
  EXPECT_EQ(counter.count(), 0);
  EXPECT_EQ(w.set->count, 8);
}

}  // namespace
}  // namespace vlm
