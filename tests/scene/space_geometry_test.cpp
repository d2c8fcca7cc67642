// The space as geometry: lattices, ticks, axes and their names, planes, water.
#include <gtest/gtest.h>

#include <cmath>

#include "model/association_ops.h"
#include "model/normalise.h"
#include "model/space_settings_table.h"
#include "model/support/model_world.h"
#include "scene/space/space_geometry.h"

namespace vlm {
namespace {

struct Space {
  test::ModelWorld m;
  SpaceSettings space;
  Space() { fillDefaultSpaceSettings(space); }
  void associate(int32_t field, int32_t attribute) {
    ModelContext ctx = m.ctx();
    ASSERT_EQ(associateFieldLocked(ctx, field, 0, attribute, -1, 0), 1);
  }
  scene::SpaceGeometry build() {
    ModelContext ctx = m.ctx();
    roundAndNormaliseLocked(ctx, space);
    scene::SpaceInput in;
    in.space = &space;
    in.associations = m.set.get();
    in.table = m.table.get();
    return scene::buildSpaceGeometry(in);
  }
};

TEST(SpaceGeometry, WithoutAssociationsOnlyTheBaseLatticeOnTheDefaultRecords) {
  Space s;
  test::addIntegerField(*s.m.table, "v", {1, 2});
  setDefaultAxisRecords(s.space, 15.0f, -15.0f);
  const scene::SpaceGeometry g = s.build();
  ASSERT_EQ(g.lattices.size(), 1u);
  EXPECT_EQ(g.lattices[0].lattice, 0);
  // X from -15 to 45 and Y from 15 down to -45, both in steps of 20.
  ASSERT_EQ(g.lattices[0].lines.size(), 8u);
  EXPECT_FLOAT_EQ(g.lattices[0].lines[0].a[0], -15.0f);
  EXPECT_FLOAT_EQ(g.lattices[0].lines[0].a[1], 15.0f);
  EXPECT_FLOAT_EQ(g.lattices[0].lines[0].b[1], -45.0f);
  EXPECT_FLOAT_EQ(g.lattices[0].lines[4].a[1], 15.0f);
  EXPECT_FLOAT_EQ(g.lattices[0].lines[7].a[1], -45.0f);
  for (const auto& seg : g.lattices[0].lines) EXPECT_FLOAT_EQ(seg.a[2], 0.0f);
  EXPECT_TRUE(g.texts.empty());
  EXPECT_TRUE(g.axes.halves.empty()) << "an unassociated axis is not drawn";
  EXPECT_TRUE(g.planes.empty());
}

TEST(SpaceGeometry, WithoutAssociationsTheBasePlaneUsesTheRawRecords) {
  Space s;
  test::addIntegerField(*s.m.table, "v", {1, 2});
  s.space.rows[latticeRow(0, kLatPlane)].value = 1;
  const scene::SpaceGeometry g = s.build();
  ASSERT_EQ(g.planes.size(), 1u);
  EXPECT_FLOAT_EQ(g.planes[0].corners[0][0], s.space.axes[0].low);
  EXPECT_FLOAT_EQ(g.planes[0].corners[2][1], s.space.axes[1].high);
  EXPECT_EQ(g.planes[0].texture, 0u);
}

TEST(SpaceGeometry, AStraddlingAxisHasTicksOnBothSidesOfZero) {
  Space s;
  const int32_t x = test::addIntegerField(*s.m.table, "x", {-10, 30});
  const int32_t y = test::addIntegerField(*s.m.table, "y", {0, 10});
  s.associate(x, ATTRIB_AXISX);
  s.associate(y, ATTRIB_AXISY);
  const scene::SpaceGeometry g = s.build();
  const AxisRecord& r = s.space.axes[0];
  ASSERT_LT(r.low, 0.0f);
  ASSERT_GT(r.high, 0.0f);
  const auto ticks = scene::axisTicks(r, &s.m.pass(0), 0, 10);
  bool negative = false, positive = false;
  for (const auto& t : ticks) {
    negative = negative || t.position < 0.0f;
    positive = positive || t.position > 0.0f;
    EXPECT_NEAR(std::fmod(std::fabs(t.value), r.step), 0.0f, 1e-3) << "ticks sit on multiples of the step";
  }
  EXPECT_TRUE(negative);
  EXPECT_TRUE(positive);
  // The Base lattice carries a line across y at each X tick.
  ASSERT_FALSE(g.lattices.empty());
  size_t acrossY = 0;
  for (const auto& seg : g.lattices[0].lines)
    if (seg.a[0] == seg.b[0]) ++acrossY;
  EXPECT_EQ(acrossY, ticks.size());
}

TEST(SpaceGeometry, ArrowTypeZeroKeepsTheLineAndArrowNames) {
  Space s;
  const int32_t x = test::addIntegerField(*s.m.table, "x", {0, 100});
  s.associate(x, ATTRIB_AXISX);
  s.space.rows[kRowArrowType].value = 0;
  const scene::SpaceGeometry g = s.build();
  ASSERT_EQ(g.axes.halves.size(), 1u) << "the negative half has no length";
  EXPECT_EQ(g.axes.arrowType, 0);
  EXPECT_EQ(g.axes.halves[0].lineName, 2000000011);
  EXPECT_EQ(g.axes.halves[0].arrowName, 2000000017);
  EXPECT_NEAR(g.axes.halves[0].tip[0], 120.0f, 1e-3);
}

TEST(SpaceGeometry, TheYAxisRunsNegativeAndTakesItsNames) {
  Space s;
  const int32_t y = test::addIntegerField(*s.m.table, "y", {-50, 100});
  s.associate(y, ATTRIB_AXISY);
  const scene::SpaceGeometry g = s.build();
  ASSERT_EQ(g.axes.halves.size(), 2u);
  EXPECT_EQ(g.axes.halves[0].lineName, 2000000013);
  EXPECT_EQ(g.axes.halves[1].lineName, 2000000014);
  EXPECT_EQ(g.axes.halves[1].arrowName, 2000000020);
  EXPECT_LT(g.axes.halves[0].tip[1], 0.0f) << "the positive end of Y lies at negative y";
  EXPECT_GT(g.axes.halves[1].tip[1], 0.0f);
}

TEST(SpaceGeometry, TransparencyHundredMakesTheColourFullyTransparent) {
  Space s;
  const int32_t x = test::addIntegerField(*s.m.table, "x", {0, 100});
  s.associate(x, ATTRIB_AXISX);
  setTransparency(s.space, kRowAxesTransparency, 100);
  setTransparency(s.space, latticeRow(0, kLatTransparency), 100);
  const scene::SpaceGeometry g = s.build();
  EXPECT_FLOAT_EQ(g.axes.rgba[3], 0.0f);
  ASSERT_FALSE(g.lattices.empty());
  EXPECT_FLOAT_EQ(g.lattices[0].rgba[3], 0.0f);
}

TEST(SpaceGeometry, TitlesAndTickTextsNameTheAxes) {
  Space s;
  const int32_t x = test::addIntegerField(*s.m.table, "Weight", {0, 100});
  s.associate(x, ATTRIB_AXISX);
  const scene::SpaceGeometry g = s.build();
  bool title = false, zero = false, hundred = false;
  for (const auto& t : g.texts) {
    if (t.title && t.codes == "Weight") {
      title = true;
      EXPECT_NEAR(t.position[0], 100.0f * 1.2f * 1.02f, 1e-3);
    }
    zero = zero || t.codes == "0";
    hundred = hundred || t.codes == "100";
  }
  EXPECT_TRUE(title);
  EXPECT_TRUE(zero);
  EXPECT_TRUE(hundred);
  s.space.rows[kRowLabels].value = 0;
  EXPECT_TRUE(s.build().texts.empty()) << "\"Labels\" off empties the label list";
}

TEST(SpaceGeometry, TheCubeSwitchClosesTheDataSpace) {
  Space s;
  const int32_t x = test::addIntegerField(*s.m.table, "x", {0, 100});
  const int32_t z = test::addIntegerField(*s.m.table, "z", {0, 50});
  s.associate(x, ATTRIB_AXISX);
  s.associate(z, ATTRIB_AXISZ);
  EXPECT_TRUE(s.build().cubeEdges.empty());
  s.space.rows[kRowCube].value = 1;
  // Y has no extent: the box is flat, its edges along Y have no length.
  EXPECT_EQ(s.build().cubeEdges.size(), 8u);
}

TEST(WaterText, ShowsARealHeightWithTwoDecimals) {
  VerticalAttribute v;
  v.attribute = ATTRIB_HEIGHT;
  v.field = 0;
  v.fieldType = FT_REAL;
  v.dataMin = 1.0f, v.dataMax = 3.0f;
  AxisRecord z;
  z.low = 0.0f, z.high = 100.0f;
  EXPECT_EQ(scene::waterValueText(v, z, 25.0f), "1.50");
  v.fieldType = FT_INTEGER;
  EXPECT_EQ(scene::waterValueText(v, z, 50.0f), "2");
  v.fieldType = FT_BOOLEAN;
  EXPECT_EQ(scene::waterValueText(v, z, 0.0f), "TRUE");
  z.high = z.low;
  EXPECT_EQ(scene::waterValueText(v, z, 5.0f), "") << "no height";
  z.high = 100.0f;
  v.field = -1;
  EXPECT_EQ(scene::waterValueText(v, z, 5.0f), "") << "no field";
}

}  // namespace
}  // namespace vlm
