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

VerticalAttribute vertical(int32_t attribute, uint8_t type, float low, float high) {
  VerticalAttribute v;
  v.attribute = attribute;
  v.field = 0;
  v.fieldType = type;
  v.dataMin = v.displayMin = low;
  v.dataMax = v.displayMax = high;
  v.scale = 50.0f;  // k = 1
  v.baseHeight = 4.0f;
  return v;
}

TEST(WaterText, ShowsTheDataValueAtTheWaterHeight) {
  // Axis Z places a value at z = 100 t k: halfway up 0..1000 is 500, not the
  // scene's 50.
  VerticalAttribute v = vertical(ATTRIB_AXISZ, FT_INTEGER, 0.0f, 1000.0f);
  EXPECT_EQ(scene::waterValueText(v, 50.0f), "500");
  EXPECT_EQ(scene::waterValueText(v, 100.0f), "1000");
  v.scale = 100.0f;  // the same value now stands twice as high
  EXPECT_EQ(scene::waterValueText(v, 100.0f), "500");
  // Height: an object on the base is 2 b (2 t k + 0.5) high.
  v = vertical(ATTRIB_HEIGHT, FT_REAL, 1.0f, 3.0f);
  EXPECT_EQ(scene::waterValueText(v, 8.0f), "1.50");
  EXPECT_EQ(scene::waterValueText(v, 4.0f), "1.00");
  // Size: b (2 t k + 0.5).
  v = vertical(ATTRIB_SIZE, FT_INTEGER, 1.0f, 3.0f);
  EXPECT_EQ(scene::waterValueText(v, 6.0f), "2");
}

TEST(WaterText, FollowsTheMappingOfTheAttribute) {
  VerticalAttribute v = vertical(ATTRIB_AXISZ, FT_REAL, 0.0f, 10.0f);
  v.options = MAP_LINEAR | MAP_INVERSE;  // high values low
  EXPECT_EQ(scene::waterValueText(v, 20.0f), "8.00");
  v = vertical(ATTRIB_AXISZ, FT_REAL, -10.0f, 30.0f);  // straddles zero: t = x / 30
  EXPECT_EQ(scene::waterValueText(v, 50.0f), "15.00");
  // LOGN: the display range is ln 3 .. ln 100 over the data 0..970.
  v = vertical(ATTRIB_AXISZ, FT_REAL, 0.0f, 970.0f);
  v.options = MAP_LOGN;
  v.transformOrigin = 0.0f;
  v.transformRange = 970.0f;
  v.displayMin = std::log(3.0f);
  v.displayMax = std::log(100.0f);
  EXPECT_EQ(scene::waterValueText(v, 100.0f), "970.00");
  EXPECT_EQ(scene::waterValueText(v, 0.0f), "0.00");
}

TEST(WaterText, TwoValuedFieldsAndNothingToShow) {
  VerticalAttribute v = vertical(ATTRIB_AXISZ, FT_BOOLEAN, 0.0f, 1.0f);
  EXPECT_EQ(scene::waterValueText(v, 75.0f), "TRUE");
  EXPECT_EQ(scene::waterValueText(v, 25.0f), "FALSE");
  v.scale = 0.0f;
  EXPECT_EQ(scene::waterValueText(v, 5.0f), "") << "every value at the same height";
  v.scale = 50.0f;
  v.field = -1;
  EXPECT_EQ(scene::waterValueText(v, 5.0f), "") << "no field";
  v = vertical(ATTRIB_COLOR, FT_REAL, 0.0f, 1.0f);
  EXPECT_EQ(scene::waterValueText(v, 5.0f), "") << "not a vertical attribute";
}

}  // namespace
}  // namespace vlm
