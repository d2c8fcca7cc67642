#include "model/normalise.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/space_settings_table.h"
#include "model/support/model_world.h"

namespace vlm {
namespace {

using test::ModelWorld;

class Normalise : public ::testing::Test {
 protected:
  int32_t associate(int32_t field, int32_t attribute, int32_t options = 0, int32_t categorical = 0) {
    auto ctx = w.ctx();
    associateFieldLocked(ctx, field, categorical, attribute, -1, options);
    return attributeToAssociation(*w.set, attribute);
  }
  void run() {
    auto ctx = w.ctx();
    normaliseAssociationsLocked(ctx);
  }
  ModelWorld w;
};

TEST_F(Normalise, AllEqualValuesGiveOneAndMissingGiveZero) {
  const int32_t f = test::addIntegerField(*w.table, "Same", {4, std::nullopt, 4, 4});
  const int32_t a = associate(f, ATTRIB_SIZE);
  run();
  EXPECT_EQ(w.value(a, 0), 1.0f);
  EXPECT_EQ(w.value(a, 1), 0.0f);
  EXPECT_EQ(w.value(a, 2), 1.0f);
}

TEST_F(Normalise, ARangeStraddlingZeroDividesByTheLargerEnd) {
  const int32_t f = test::addIntegerField(*w.table, "Temp", {-10, 30, 0, 15});
  const int32_t a = associate(f, ATTRIB_HEIGHT);
  run();
  EXPECT_NEAR(w.value(a, 0), -0.333333f, 1e-5f);
  EXPECT_EQ(w.value(a, 1), 1.0f);
  EXPECT_EQ(w.value(a, 2), 0.0f);
  EXPECT_NEAR(w.value(a, 3), 0.5f, 1e-6f);
}

TEST_F(Normalise, StraddlingValuesAreClampedToMinusOneToOne) {
  const int32_t f = test::addRealField(*w.table, "Temp", {-40.0f, 30.0f, 45.0f});
  const int32_t a = associate(f, ATTRIB_HEIGHT);
  auto ctx = w.ctx();
  // A range tuned inside the data: -40 and 45 lie outside.
  w.set->saved[static_cast<size_t>(a)].min = -10.0f;
  w.set->saved[static_cast<size_t>(a)].max = 30.0f;
  normaliseAssociationsLocked(ctx);
  EXPECT_EQ(w.value(a, 0), -1.0f);
  EXPECT_EQ(w.value(a, 2), 1.0f);
}

TEST_F(Normalise, LinearClampsToZeroToOne) {
  const int32_t f = test::addRealField(*w.table, "Load", {2.0f, 4.0f, 6.0f, 10.0f});
  const int32_t a = associate(f, ATTRIB_SIZE);
  w.set->saved[static_cast<size_t>(a)].min = 4.0f;
  w.set->saved[static_cast<size_t>(a)].max = 8.0f;
  run();
  EXPECT_EQ(w.value(a, 0), 0.0f);
  EXPECT_EQ(w.value(a, 1), 0.0f);
  EXPECT_EQ(w.value(a, 2), 0.5f);
  EXPECT_EQ(w.value(a, 3), 1.0f);
  EXPECT_EQ(w.pass(a).displayMin, 4.0f);
}

TEST_F(Normalise, InverseTurnsMissingSamplesIntoOne) {
  const int32_t f = test::addIntegerField(*w.table, "N", {0, 10, std::nullopt});
  const int32_t a = associate(f, ATTRIB_SIZE, MAP_LINEAR | MAP_INVERSE);
  run();
  EXPECT_EQ(w.value(a, 0), 1.0f);
  EXPECT_EQ(w.value(a, 1), 0.0f);
  EXPECT_EQ(w.value(a, 2), 1.0f);
}

TEST_F(Normalise, FieldlessAssociationsAreOne) {
  test::addIntegerField(*w.table, "N", {0, 10, 3});
  const int32_t a = associate(-1, ATTRIB_SIZE);
  run();
  for (int32_t s = 0; s < 3; ++s) EXPECT_EQ(w.value(a, s), 1.0f);
  EXPECT_EQ(w.pass(a).displayMax, 1.0f);
}

TEST_F(Normalise, CategoricalMissingGivesTheLastCategoryForColourAndShapeOnly) {
  const int32_t f = test::addTextField(*w.table, "Kind", {"a", "b", "c", std::nullopt, "b"});
  const int32_t shape = associate(f, ATTRIB_SHAPE);
  const int32_t size = associate(f, ATTRIB_SIZE);
  const int32_t colour = associate(f, ATTRIB_COLOR);
  run();
  // Categories a, b, c and the empty value: 0..3.
  EXPECT_EQ(w.value(shape, 0), 0.0f);
  EXPECT_NEAR(w.value(shape, 1), 1.0f / 3.0f, 1e-6f);
  EXPECT_NEAR(w.value(shape, 2), 2.0f / 3.0f, 1e-6f);
  EXPECT_EQ(w.value(shape, 3), 1.0f);
  EXPECT_EQ(w.value(size, 3), 0.0f);
  EXPECT_EQ(w.value(colour, 3), 1.0f);
  EXPECT_NEAR(w.value(colour, 4), 1.0f / 3.0f, 1e-6f);
}

TEST_F(Normalise, LognEndsAreZeroAndOne) {
  const int32_t f = test::addRealField(*w.table, "Wealth", {1.0f, 100.0f, 10.0f, std::nullopt});
  const int32_t a = associate(f, ATTRIB_SIZE, MAP_LOGN);
  run();
  EXPECT_NEAR(w.value(a, 0), 0.0f, 1e-6f);
  EXPECT_NEAR(w.value(a, 1), 1.0f, 1e-6f);
  const float mid = (std::log((10.0f - 1.0f) * 97.0f / 99.0f + 3.0f) - std::log(3.0f)) /
                    (std::log(100.0f) - std::log(3.0f));
  EXPECT_NEAR(w.value(a, 2), mid, 1e-5f);
  EXPECT_EQ(w.value(a, 3), 0.0f);
  EXPECT_NEAR(w.pass(a).displayMin, std::log(3.0f), 1e-6f);
  EXPECT_NEAR(w.pass(a).displayMax, std::log(100.0f), 1e-6f);
}

TEST_F(Normalise, ExpEndsAreZeroAndOne) {
  const int32_t f = test::addIntegerField(*w.table, "N", {0, 50, 100});
  const int32_t a = associate(f, ATTRIB_SIZE, MAP_EXP);
  run();
  EXPECT_NEAR(w.value(a, 0), 0.0f, 1e-6f);
  EXPECT_NEAR(w.value(a, 2), 1.0f, 1e-6f);
  const float e = std::exp(1.0f), e3 = std::exp(3.0f);
  EXPECT_NEAR(w.value(a, 1), (std::exp(2.0f) - e) / (e3 - e), 1e-5f);
}

TEST_F(Normalise, LognOfAConstantFieldIsOneNotNaN) {
  const int32_t f = test::addRealField(*w.table, "Const", {5.0f, 5.0f, std::nullopt});
  const int32_t a = associate(f, ATTRIB_SIZE, MAP_LOGN);
  const int32_t b = associate(f, ATTRIB_HEIGHT, MAP_EXP);
  run();
  EXPECT_EQ(w.value(a, 0), 1.0f);
  EXPECT_EQ(w.value(a, 2), 0.0f);
  EXPECT_EQ(w.value(b, 1), 1.0f);
  EXPECT_EQ(w.pass(a).transformRange, 1.0f);
}

TEST_F(Normalise, LognBelowATunedMinimumIsZeroNotNaN) {
  const int32_t f = test::addRealField(*w.table, "Wealth", {1.0f, 100.0f, 50.0f});
  const int32_t a = associate(f, ATTRIB_SIZE, MAP_LOGN);
  w.set->saved[static_cast<size_t>(a)].min = 60.0f;
  run();
  EXPECT_EQ(w.value(a, 0), 0.0f);
  EXPECT_EQ(w.value(a, 2), 0.0f);
  EXPECT_NEAR(w.value(a, 1), 1.0f, 1e-6f);
  EXPECT_FALSE(std::isnan(w.value(a, 0)));
}

TEST_F(Normalise, CategoricalLogn) {
  const int32_t f = test::addTextField(*w.table, "Kind", {"a", "b", "c"});
  const int32_t a = associate(f, ATTRIB_SIZE, MAP_LOGN);
  run();
  EXPECT_NEAR(w.value(a, 0), 0.0f, 1e-6f);
  EXPECT_NEAR(w.value(a, 2), 1.0f, 1e-6f);
  EXPECT_GT(w.value(a, 1), 0.5f);  // the logarithm lifts the middle
}

TEST_F(Normalise, PassIsCopiedFromTheSavedPass) {
  const int32_t f = test::addIntegerField(*w.table, "N", {0, 10});
  const int32_t a = associate(f, ATTRIB_SIZE);
  w.set->saved[static_cast<size_t>(a)].scale = 77.0f;
  run();
  EXPECT_EQ(w.pass(a).scale, 77.0f);
  EXPECT_EQ(w.pass(a).values, w.savedPass(a).values);
}

TEST_F(Normalise, DeletingASoundAssociationDoesNotSkipTheNext) {
  const int32_t f = test::addIntegerField(*w.table, "N", {0, 10});
  associate(f, ATTRIB_SOUND_FREQ);
  associate(f, ATTRIB_SOUND_VOLUME);
  associate(f, ATTRIB_SIZE);
  int opens = 0;
  w.hooks.openSound = [&] {
    ++opens;
    return false;
  };
  run();
  EXPECT_EQ(opens, 2);
  ASSERT_EQ(w.set->count, 1);
  EXPECT_EQ(attributeOf(w.pass(0)), ATTRIB_SIZE);
  EXPECT_EQ(w.value(0, 1), 1.0f);
}

TEST_F(Normalise, PreparationHooks) {
  const int32_t x = test::addIntegerField(*w.table, "X", {0, 10});
  const int32_t t = test::addTextField(*w.table, "T", {"a", "b"});
  int cleared = 0, labels = 0, textures = 0, speechField = -2;
  w.hooks.clearDefaultPlacement = [&] { ++cleared; };
  w.hooks.buildLabels = [&](const Association&) { ++labels; };
  w.hooks.resolveTextures = [&](const Association&) { ++textures; };
  w.hooks.speechActive = [&](int32_t field) { speechField = field; };
  associate(x, ATTRIB_AXISX);
  associate(x, ATTRIB_AXISY);
  associate(t, ATTRIB_LABEL);
  associate(t, ATTRIB_TEXTURE);
  associate(t, ATTRIB_SPEECH);
  run();
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(labels, 1);
  EXPECT_EQ(textures, 1);
  EXPECT_EQ(speechField, t);
}

TEST_F(Normalise, ColourUsesTheColourModelRange) {
  const int32_t f = test::addIntegerField(*w.table, "N", {0, 50, 100});
  const int32_t a = associate(f, ATTRIB_COLOR);
  ASSERT_EQ(w.savedColour.entries.size(), 4u);
  // An entry beyond the data widens the colour range.
  w.savedColour.entries.back().valueText = "200";
  run();
  EXPECT_EQ(w.colour.valueMax, 200.0f);
  EXPECT_EQ(w.value(a, 2), 0.5f);
  EXPECT_EQ(w.pass(a).displayMax, 200.0f);
}

TEST_F(Normalise, AxisAssociationsDivideByTheRoundedRange) {
  const int32_t f = test::addIntegerField(*w.table, "X", {0, 93, 50});
  const int32_t a = associate(f, ATTRIB_AXISX);
  SpaceSettings space;
  fillDefaultSpaceSettings(space);
  space.rows[kRowXDensity].value = 20;
  auto ctx = w.ctx();
  roundAndNormaliseLocked(ctx, space);
  EXPECT_EQ(w.pass(a).displayMax, 100.0f);
  EXPECT_NEAR(w.value(a, 1), 0.93f, 1e-6f);
  EXPECT_NEAR(w.value(a, 2), 0.5f, 1e-6f);
}

TEST_F(Normalise, OnlyTheLoadedSamplesAreWritten) {
  const int32_t f = test::addIntegerField(*w.table, "N", {0, 10});
  const int32_t a = associate(f, ATTRIB_SIZE);
  w.set->passes[static_cast<size_t>(a)].values[2] = -5.0f;
  run();
  EXPECT_EQ(w.value(a, 2), -5.0f);
}

}  // namespace
}  // namespace vlm
