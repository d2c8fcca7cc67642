#include "model/axis_rounding.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/space_settings_table.h"

namespace vlm {
namespace {

Association axis(float min, float max, uint8_t options = MAP_LINEAR) {
  Association a;
  a.field = 0;
  a.flags = associationFlags(ATTRIB_AXISX, false);
  a.options = options;
  a.min = min;
  a.max = max;
  return a;
}

TEST(AxisRounding, ZeroTo93WithDensity20GivesStep10Over0To100) {
  Association a = axis(0.0f, 93.0f);
  AxisRecord tick;
  roundAxisRange(a, 20, tick);
  EXPECT_FLOAT_EQ(tick.step, 10.0f);
  EXPECT_FLOAT_EQ(tick.low, 0.0f);
  EXPECT_FLOAT_EQ(tick.high, 100.0f);
  EXPECT_EQ(tick.subdivision, 0);
  EXPECT_FLOAT_EQ(a.displayMin, 0.0f);
  EXPECT_FLOAT_EQ(a.displayMax, 100.0f);
  EXPECT_FLOAT_EQ(a.transformOrigin, 0.0f);
  EXPECT_FLOAT_EQ(a.transformRange, 100.0f);
}

TEST(AxisRounding, DensityZeroLeavesTheRange) {
  Association a = axis(3.0f, 93.0f);
  AxisRecord tick;
  roundAxisRange(a, 0, tick);
  EXPECT_EQ(tick.low, 3.0f);
  EXPECT_EQ(tick.high, 93.0f);
  EXPECT_EQ(tick.step, 0.0f);
  EXPECT_EQ(tick.subdivision, 1);
  EXPECT_EQ(a.displayMin, 3.0f);
  EXPECT_EQ(a.displayMax, 93.0f);
  EXPECT_EQ(a.transformRange, 90.0f);
}

TEST(AxisRounding, ConstantRangeIsNotRounded) {
  Association a = axis(7.0f, 7.0f);
  AxisRecord tick;
  roundAxisRange(a, 10, tick);
  EXPECT_EQ(tick.low, 7.0f);
  EXPECT_EQ(tick.high, 7.0f);
  EXPECT_EQ(tick.step, 1.0f);
  EXPECT_EQ(tick.subdivision, 1);
  EXPECT_EQ(a.transformRange, 1.0f);
}

TEST(AxisRounding, MantissaThreeBecomesTwoAndAHalf) {
  Association a = axis(0.0f, 15.0f);  // w = 3
  AxisRecord tick;
  roundAxisRange(a, 10, tick);
  EXPECT_FLOAT_EQ(tick.step, 2.5f);
  EXPECT_EQ(tick.subdivision, 4);
  EXPECT_FLOAT_EQ(tick.high, 15.0f);
}

TEST(AxisRounding, MantissaFourBecomesFive) {
  Association a = axis(1.0f, 21.0f);  // w = 4
  AxisRecord tick;
  roundAxisRange(a, 10, tick);
  EXPECT_FLOAT_EQ(tick.step, 5.0f);
  EXPECT_EQ(tick.subdivision, 2);
  EXPECT_FLOAT_EQ(tick.low, 0.0f);
  EXPECT_FLOAT_EQ(tick.high, 25.0f);
}

TEST(AxisRounding, SmallAndStraddlingRanges) {
  Association a = axis(-10.0f, 30.0f);  // w = 8 -> 0.8 -> 1, e = 1
  AxisRecord tick;
  roundAxisRange(a, 10, tick);
  EXPECT_FLOAT_EQ(tick.step, 10.0f);
  EXPECT_FLOAT_EQ(tick.low, -10.0f);
  EXPECT_FLOAT_EQ(tick.high, 30.0f);

  Association b = axis(0.3f, 0.7f);  // w = 0.08 -> 0.8 -> 1, e = -1
  roundAxisRange(b, 10, tick);
  EXPECT_FLOAT_EQ(tick.step, 0.1f);
  EXPECT_NEAR(tick.low, 0.3f, 1e-6f);
  EXPECT_NEAR(tick.high, 0.7f, 1e-6f);
}

TEST(AxisRounding, DensityIsClampedTo100) {
  Association a = axis(0.0f, 1000.0f);
  AxisRecord tick;
  roundAxisRange(a, 5000, tick);  // as 100: w = 20 -> 2 (e = 1)
  EXPECT_FLOAT_EQ(tick.step, 20.0f);
}

TEST(AxisRounding, TransformedAxesDisplayInTransformedUnits) {
  Association a = axis(0.0f, 93.0f, MAP_LOGN);
  AxisRecord tick;
  roundAxisRange(a, 20, tick);
  EXPECT_NEAR(a.displayMin, std::log(3.0f), 1e-6f);
  EXPECT_NEAR(a.displayMax, std::log(100.0f), 1e-6f);
  EXPECT_FLOAT_EQ(a.transformRange, 100.0f);
  Association b = axis(0.0f, 93.0f, MAP_EXP);
  roundAxisRange(b, 20, tick);
  EXPECT_NEAR(b.displayMin, std::exp(1.0f), 1e-5f);
  EXPECT_NEAR(b.displayMax, std::exp(3.0f), 1e-4f);
  // Unrounded transformed axes too.
  Association c = axis(0.0f, 93.0f, MAP_LOGN);
  roundAxisRange(c, 0, tick);
  EXPECT_NEAR(c.displayMax, std::log(100.0f), 1e-6f);
}

TEST(AxisRounding, SetRoundsEachAxisWithItsDensityAndCopiesToThePass) {
  AssociationSet set;
  set.saved[0] = axis(0.0f, 93.0f);
  set.saved[0].flags = associationFlags(ATTRIB_AXISY, false);
  set.saved[1] = axis(0.0f, 93.0f);
  set.saved[1].flags = associationFlags(ATTRIB_SIZE, false);
  set.count = 2;
  SpaceSettings space;
  fillDefaultSpaceSettings(space);
  space.rows[kRowYDensity].value = 20;
  roundAxisRanges(set, space);
  EXPECT_FLOAT_EQ(space.axes[1].step, 10.0f);
  EXPECT_FLOAT_EQ(set.passes[0].displayMax, 100.0f);
  EXPECT_FLOAT_EQ(set.saved[0].displayMax, 100.0f);
  EXPECT_EQ(set.saved[1].displayMax, 1.0f);  // not an axis: untouched
}

}  // namespace
}  // namespace vlm
