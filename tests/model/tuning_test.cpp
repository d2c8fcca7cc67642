#include "model/tuning.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/scaled_value.h"
#include "model/support/model_world.h"

namespace vlm {
namespace {

using test::ModelWorld;

class Tuning : public ::testing::Test {
 protected:
  void SetUp() override {
    field = test::addIntegerField(*w.table, "N", {0, 200, 100});
    auto ctx = w.ctx();
    associateFieldLocked(ctx, field, 0, ATTRIB_SIZE, -1, 0);
  }
  const Association& saved() { return w.savedPass(0); }
  ModelWorld w;
  int32_t field = 0;
};

TEST_F(Tuning, MinimumHandle) {
  auto ctx = w.ctx();
  w.saved = 1;
  ASSERT_TRUE(tuneMinimumLocked(ctx, ATTRIB_SIZE, 25.0f));
  EXPECT_FLOAT_EQ(saved().min, 50.0f);
  EXPECT_FLOAT_EQ(w.pass(0).min, 50.0f);
  EXPECT_EQ(w.saved.load(), 0);
  tuneMinimumLocked(ctx, ATTRIB_SIZE, -30.0f);
  EXPECT_FLOAT_EQ(saved().min, 0.0f);
  // At or past the maximum handle: 0.99 of its position.
  tuneMinimumLocked(ctx, ATTRIB_SIZE, 150.0f);
  EXPECT_FLOAT_EQ(saved().min, 198.0f);
}

TEST_F(Tuning, MaximumHandle) {
  auto ctx = w.ctx();
  tuneMaximumLocked(ctx, ATTRIB_SIZE, 50.0f);
  EXPECT_FLOAT_EQ(saved().max, 100.0f);
  tuneMaximumLocked(ctx, ATTRIB_SIZE, 130.0f);
  EXPECT_FLOAT_EQ(saved().max, 200.0f);
  tuneMinimumLocked(ctx, ATTRIB_SIZE, 20.0f);  // min 40, at 20 %
  tuneMaximumLocked(ctx, ATTRIB_SIZE, 10.0f);
  EXPECT_FLOAT_EQ(saved().max, 2.0f * 20.2f);
}

TEST_F(Tuning, ScaleHandleWithAndWithoutField) {
  auto ctx = w.ctx();
  tuneMinimumLocked(ctx, ATTRIB_SIZE, 20.0f);
  tuneMaximumLocked(ctx, ATTRIB_SIZE, 70.0f);
  tuneScaleHandleLocked(ctx, ATTRIB_SIZE, 45.0f);
  EXPECT_FLOAT_EQ(saved().scale, 100.0f);
  tuneScaleHandleLocked(ctx, ATTRIB_SIZE, 5.0f);
  EXPECT_FLOAT_EQ(saved().scale, 0.0f);
  tuneScaleHandleLocked(ctx, ATTRIB_SIZE, 95.0f);
  EXPECT_FLOAT_EQ(saved().scale, 200.0f);

  associateFieldLocked(ctx, -1, 0, ATTRIB_HEIGHT, -1, 0);
  tuneScaleHandleLocked(ctx, ATTRIB_HEIGHT, 30.0f);
  EXPECT_FLOAT_EQ(w.savedPass(1).scale, 60.0f);
  tuneScaleHandleLocked(ctx, ATTRIB_HEIGHT, 130.0f);
  EXPECT_FLOAT_EQ(w.savedPass(1).scale, 200.0f);
}

TEST_F(Tuning, LegendLineMovesTheScaleByHalfTheMouseMovement) {
  auto ctx = w.ctx();
  tuneLegendLineLocked(ctx, ATTRIB_SIZE, 10, 40);
  EXPECT_FLOAT_EQ(saved().scale, 55.0f);
  associateFieldLocked(ctx, field, 0, ATTRIB_AXISY, -1, 0);
  associateFieldLocked(ctx, field, 0, ATTRIB_AXISZ, -1, 0);
  tuneLegendLineLocked(ctx, ATTRIB_AXISY, 10, 40);
  EXPECT_FLOAT_EQ(w.savedPass(1).scale, 70.0f);
  tuneLegendLineLocked(ctx, ATTRIB_AXISZ, 10, 40);
  EXPECT_FLOAT_EQ(w.savedPass(2).scale, 30.0f);
  tuneLegendLineLocked(ctx, ATTRIB_AXISZ, 0, 1000);
  EXPECT_FLOAT_EQ(w.savedPass(2).scale, 0.0f);
  tuneLegendLineLocked(ctx, ATTRIB_SIZE, 1000, 0);
  EXPECT_FLOAT_EQ(saved().scale, 200.0f);
}

TEST_F(Tuning, GuardsAgainstEmptyRanges) {
  ModelWorld v;
  const int32_t f = test::addIntegerField(*v.table, "Same", {5, 5});
  auto ctx = v.ctx();
  associateFieldLocked(ctx, f, 0, ATTRIB_SIZE, -1, 0);
  EXPECT_TRUE(tuneMinimumLocked(ctx, ATTRIB_SIZE, 30.0f));
  EXPECT_TRUE(std::isfinite(v.savedPass(0).min));
  v.set->saved[0].min = 5.0f;
  v.set->saved[0].max = 5.0f;
  const float before = v.savedPass(0).scale;
  EXPECT_FALSE(tuneScaleHandleLocked(ctx, ATTRIB_SIZE, 30.0f));
  EXPECT_EQ(v.savedPass(0).scale, before);
  const HandlePositions h = tuningHandlePositions(ctx, v.savedPass(0));
  EXPECT_TRUE(std::isfinite(h.pmin));
  EXPECT_TRUE(std::isfinite(h.pmax));
}

TEST_F(Tuning, AnAttributeWithoutAssociationGetsAFieldlessOne) {
  auto ctx = w.ctx();
  bool created = false;
  const int32_t i = ensureTuningAssociationLocked(ctx, ATTRIB_ROTZ, created);
  EXPECT_TRUE(created);
  EXPECT_EQ(i, 1);
  EXPECT_EQ(w.savedPass(1).field, -1);
  EXPECT_EQ(ensureTuningAssociationLocked(ctx, ATTRIB_ROTZ, created), 1);
  EXPECT_FALSE(created);
  EXPECT_EQ(ensureTuningAssociationLocked(ctx, ATTRIB_LABEL, created), -1);
  EXPECT_FALSE(tuneMinimumLocked(ctx, ATTRIB_ROTZ, 10.0f));  // no field: no range handles
}

TEST(ScaledValue, TwiceTheScaleTimesTheUnclampedNormalisedValue) {
  Association a;
  a.field = 0;
  a.scale = 50.0f;
  a.displayMin = 0.0f;
  a.displayMax = 10.0f;
  EXPECT_FLOAT_EQ(scaledValue(a, 5.0f), 50.0f);
  EXPECT_FLOAT_EQ(scaledValue(a, 10.0f), 100.0f);
  EXPECT_FLOAT_EQ(scaledValue(a, 20.0f), 200.0f);  // not clamped
  a.options = MAP_LINEAR | MAP_INVERSE;
  EXPECT_FLOAT_EQ(scaledValue(a, 10.0f), 0.0f);
  a.options = MAP_LINEAR;
  a.displayMin = -10.0f;
  a.displayMax = 30.0f;
  EXPECT_NEAR(scaledValue(a, -10.0f), -33.3333f, 1e-3f);
  a.displayMin = a.displayMax = 4.0f;
  EXPECT_FLOAT_EQ(scaledValue(a, 4.0f), 100.0f);
}

TEST(ScaledValue, AppliesTheTransform) {
  Association a;
  a.field = 0;
  a.scale = 50.0f;
  a.options = MAP_LOGN;
  a.transformOrigin = 0.0f;
  a.transformRange = 100.0f;
  a.displayMin = std::log(3.0f);
  a.displayMax = std::log(100.0f);
  EXPECT_NEAR(scaledValue(a, 0.0f), 0.0f, 1e-4f);
  EXPECT_NEAR(scaledValue(a, 100.0f), 100.0f, 1e-4f);
}

}  // namespace
}  // namespace vlm
