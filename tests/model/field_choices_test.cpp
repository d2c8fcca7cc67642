// Ranges and values of the field types that bring no range of their own.
#include <gtest/gtest.h>

#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/color_ramps.h"
#include "model/normalise.h"
#include "model/support/model_world.h"

namespace vlm {
namespace {

using test::ModelWorld;

int32_t associate(ModelWorld& w, int32_t field, int32_t attribute, int32_t options = 0,
                  int32_t categorical = 0) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, field, categorical, attribute, -1, options);
  return attributeToAssociation(*w.set, attribute);
}

void run(ModelWorld& w) {
  auto ctx = w.ctx();
  normaliseAssociationsLocked(ctx);
}

TEST(FieldChoices, BooleansMapFalseToZeroAndTrueToOne) {
  ModelWorld w;
  const int32_t f = test::addBooleanField(*w.table, "Done", {true, false, std::nullopt, true});
  const int32_t a = associate(w, f, ATTRIB_SIZE);
  EXPECT_EQ(w.pass(a).min, 0.0f);
  EXPECT_EQ(w.pass(a).max, 1.0f);
  EXPECT_FALSE(isCategorical(w.pass(a)));
  run(w);
  EXPECT_EQ(w.value(a, 0), 1.0f);
  EXPECT_EQ(w.value(a, 1), 0.0f);
  EXPECT_EQ(w.value(a, 2), 0.0f);
  // Categorical gives the same two categories.
  const int32_t b = associate(w, f, ATTRIB_HEIGHT, 0, 1);
  EXPECT_EQ(w.pass(b).max, 1.0f);
  run(w);
  EXPECT_EQ(w.value(b, 0), 1.0f);
  EXPECT_EQ(w.value(b, 1), 0.0f);
}

TEST(FieldChoices, FlagsAreNeverTransformed) {
  ModelWorld w;
  const int32_t f = test::addBooleanField(*w.table, "Flag", {true, false}, FT_FLAG);
  const int32_t a = associate(w, f, ATTRIB_SIZE, MAP_LOGN);
  run(w);
  EXPECT_EQ(w.value(a, 0), 1.0f);
  EXPECT_EQ(w.value(a, 1), 0.0f);
  EXPECT_EQ(w.pass(a).displayMax, 1.0f);
}

TEST(FieldChoices, SizesMapByTheirByteSize) {
  ModelWorld w;
  const int32_t f = test::addSizeField(*w.table, "File", {1024, 3072, std::nullopt, 2048});
  const int32_t a = associate(w, f, ATTRIB_SIZE);
  EXPECT_EQ(w.pass(a).min, 1024.0f);
  EXPECT_EQ(w.pass(a).max, 3072.0f);
  run(w);
  EXPECT_EQ(w.value(a, 0), 0.0f);
  EXPECT_EQ(w.value(a, 1), 1.0f);
  EXPECT_EQ(w.value(a, 2), 0.0f);
  EXPECT_EQ(w.value(a, 3), 0.5f);
}

TEST(FieldChoices, TextWithTheCategoricalFlagClearedMapsTheCategoryIndexAsANumber) {
  ModelWorld w;
  const int32_t f = test::addTextField(*w.table, "Kind", {"a", "c", "b", std::nullopt});
  const int32_t a = associate(w, f, ATTRIB_SHAPE, 0, 2);
  EXPECT_FALSE(isCategorical(w.pass(a)));
  EXPECT_EQ(w.pass(a).max, 3.0f);
  run(w);
  EXPECT_EQ(w.value(a, 0), 0.0f);
  EXPECT_NEAR(w.value(a, 1), 2.0f / 3.0f, 1e-6f);
  EXPECT_NEAR(w.value(a, 2), 1.0f / 3.0f, 1e-6f);
  EXPECT_EQ(w.value(a, 3), 0.0f);  // missing: as any number, not the last category
}

TEST(FieldChoices, DateTimeWithTheCategoricalFlagClearedToo) {
  ModelWorld w;
  const int32_t f = test::addTextField(*w.table, "When", {"x", "y"}, FT_DATETIME);
  const int32_t a = associate(w, f, ATTRIB_SIZE, 0, 2);
  run(w);
  EXPECT_EQ(w.value(a, 0), 0.0f);
  EXPECT_EQ(w.value(a, 1), 1.0f);
}

TEST(FieldChoices, ColourRangesOfTwoValuedAndSizeFields) {
  ModelWorld w;
  const int32_t b = test::addBooleanField(*w.table, "Done", {true, false});
  const int32_t s = test::addSizeField(*w.table, "File", {10, 30});
  auto ctx = w.ctx();
  applyNamedRamp(ctx, 2, b, FT_BOOLEAN, 1);
  EXPECT_EQ(w.colour.valueMin, 0.0f);
  EXPECT_EQ(w.colour.valueMax, 1.0f);
  EXPECT_EQ(w.colour.entries.front().valueText, "FALSE");
  EXPECT_EQ(w.colour.entries.back().valueText, "TRUE");
  applyNamedRamp(ctx, 2, s, FT_SIZE, 1);
  EXPECT_EQ(w.colour.valueMax, 30.0f);
  EXPECT_EQ(w.colour.entries.back().valueText, "30");
}

}  // namespace
}  // namespace vlm
