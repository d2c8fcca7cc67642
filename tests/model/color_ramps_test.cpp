#include "model/color_ramps.h"

#include <gtest/gtest.h>

#include "model/support/model_world.h"

namespace vlm {
namespace {

using test::ModelWorld;

void expectColour(const ColorEntry& e, float r, float g, float b) {
  EXPECT_FLOAT_EQ(e.red, r);
  EXPECT_FLOAT_EQ(e.green, g);
  EXPECT_FLOAT_EQ(e.blue, b);
}

TEST(ColourRamps, ThirteenNamedRamps) {
  ASSERT_NE(namedRamp(12), nullptr);
  EXPECT_EQ(namedRamp(13), nullptr);
  EXPECT_STREQ(namedRamp(0)->name, "spectrum inverse");
  EXPECT_STREQ(namedRamp(1)->name, "spectrum");
  EXPECT_STREQ(namedRamp(9)->name, "green - yellow");
  EXPECT_FLOAT_EQ(namedRamp(9)->start[1], 0.5f);
  EXPECT_STREQ(namedRamp(12)->name, "black - green");
}

TEST(ColourRamps, SpectrumContinuousHasFourEntries) {
  ModelWorld w;
  auto ctx = w.ctx();
  ASSERT_TRUE(applyNamedRamp(ctx, 1, -1, FT_NONE, 1));
  const auto& e = w.colour.entries;
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(w.colour.rampType, kRampContinuous);
  expectColour(e[0], 0.9f, 0.0f, 0.25f);
  EXPECT_FLOAT_EQ(e[0].position, 0.0f);
  expectColour(e[1], 1, 1, 0);
  EXPECT_FLOAT_EQ(e[1].position, 0.333f);
  expectColour(e[2], 0, 1, 0);
  EXPECT_FLOAT_EQ(e[2].position, 0.666f);
  expectColour(e[3], 0.0f, 0.3325f, 0.9f);
  EXPECT_FLOAT_EQ(e[3].position, 1.0f);
  // Without a field the range is 0..100 and values are whole.
  EXPECT_EQ(e[1].value.i, 33);
  EXPECT_EQ(e[3].valueText, "100");
  EXPECT_EQ(w.savedColour.entries.size(), 4u);
}

TEST(ColourRamps, SpectrumInverseCategorical) {
  ModelWorld w;
  auto ctx = w.ctx();
  applyNamedRamp(ctx, 0, -1, FT_NONE, 0);
  const auto& e = w.colour.entries;
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(w.colour.rampType, kRampCategorical);
  expectColour(e[0], 0.0f, 0.3325f, 0.9f);
  expectColour(e[1], 0, 1, 0);
  expectColour(e[2], 0.9f, 0.0f, 0.25f);
  expectColour(e[3], 0.9f, 0.0f, 0.25f);
}

TEST(ColourRamps, SpectrumInverseContinuousAndTwoColourRamps) {
  ModelWorld w;
  auto ctx = w.ctx();
  applyNamedRamp(ctx, 0, -1, FT_NONE, 1);
  expectColour(w.colour.entries[2], 1, 1, 0);
  applyNamedRamp(ctx, 10, -1, FT_NONE, -1);
  ASSERT_EQ(w.colour.entries.size(), 2u);
  EXPECT_EQ(w.colour.rampType, kRampContinuous);
  expectColour(w.colour.entries[1], 1, 1, 1);
  EXPECT_FALSE(applyNamedRamp(ctx, 13, -1, FT_NONE, -1));
  EXPECT_EQ(w.colour.entries.size(), 2u);
}

TEST(ColourRamps, RealAndTextFields) {
  ModelWorld w;
  const int32_t r = test::addRealField(*w.table, "Price", {1000.0f, 2234.5f});
  const int32_t t = test::addTextField(*w.table, "Town", {"Bern", "Aarau", "Chur", std::nullopt});
  auto ctx = w.ctx();
  applyNamedRamp(ctx, 2, r, FT_REAL, -1);
  EXPECT_FLOAT_EQ(w.colour.entries[1].value.f, 2234.5f);
  EXPECT_EQ(w.colour.entries[1].valueText, "2,234.5");
  EXPECT_EQ(w.colour.entries[0].valueText, "1,000");
  applyNamedRamp(ctx, 1, t, FT_TEXT, 1);
  const auto& e = w.colour.entries;
  EXPECT_EQ(w.colour.valueMax, 3.0f);
  EXPECT_EQ(e[0].value.i, 0);
  EXPECT_EQ(e[0].valueText, "Aarau");
  EXPECT_EQ(e[1].value.i, 0);  // 0.999 truncated
  EXPECT_EQ(e[2].value.i, 1);
  EXPECT_EQ(e[2].valueText, "Bern");
  EXPECT_EQ(e[3].value.i, 3);
  EXPECT_EQ(e[3].valueText, "(empty)");
}

}  // namespace
}  // namespace vlm
