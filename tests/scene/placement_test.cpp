// Object array, placement of every attribute, jitter and the scene centre.
#include <gtest/gtest.h>

#include <cmath>

#include "model/association_ops.h"
#include "model/color_ramps.h"
#include "model/normalise.h"
#include "model/space_settings_table.h"
#include "model/support/model_world.h"
#include "scene/construction/object_array.h"
#include "scene/construction/placement.h"
#include "scene/construction/rand15.h"
#include "scene/construction/scene_centre.h"
#include "scene/shapes/shape_types.h"

namespace vlm {
namespace {

using scene::placeObjects;

struct World {
  test::ModelWorld m;
  SpaceSettings space;
  ObjectArray objects;
  World() {
    fillDefaultSpaceSettings(space);
    m.hooks.clearDefaultPlacement = [this] { scene::clearDefaultPlacement(objects); };
  }
  void associate(int32_t field, int32_t attribute, int32_t scale = -1) {
    ModelContext ctx = m.ctx();
    ASSERT_EQ(associateFieldLocked(ctx, field, 0, attribute, scale, 0), 1);
  }
  VerticalAttribute place() {
    scene::layOutDefaultObjects(objects, m.table->rowCount);
    ModelContext ctx = m.ctx();
    roundAndNormaliseLocked(ctx, space);
    scene::PlacementInput in{m.set.get(), m.table.get(), &m.colour, 7};
    return placeObjects(objects, in);
  }
};

TEST(ObjectArray, GridColumnsAreTheCeilingOfTheSquareRoot) {
  EXPECT_EQ(scene::gridColumns(0), 0);
  EXPECT_EQ(scene::gridColumns(1), 1);
  EXPECT_EQ(scene::gridColumns(4), 2);
  EXPECT_EQ(scene::gridColumns(5), 3);
  EXPECT_EQ(scene::gridColumns(1000000), 1000);
  EXPECT_EQ(scene::gridColumns(1000001), 1001);
}

TEST(Placement, WithoutAssociationsObjectsStandOnAGridAsBlueBoxes) {
  World w;
  test::addIntegerField(*w.m.table, "n", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  w.place();
  ASSERT_EQ(w.objects.size(), 10u);  // four columns
  const ObjectRecord& a = w.objects[0];
  EXPECT_FLOAT_EQ(a.x, 10.0f);
  EXPECT_FLOAT_EQ(a.y, -10.0f);
  EXPECT_FLOAT_EQ(w.objects[3].x, 40.0f);
  EXPECT_FLOAT_EQ(w.objects[4].x, 10.0f);
  EXPECT_FLOAT_EQ(w.objects[4].y, -20.0f);
  EXPECT_FLOAT_EQ(w.objects[9].y, -30.0f);
  EXPECT_FLOAT_EQ(a.red, 0.0f);
  EXPECT_FLOAT_EQ(a.green, 0.5f);
  EXPECT_FLOAT_EQ(a.blue, 0.9f);
  EXPECT_FLOAT_EQ(a.width, 4.0f);
  EXPECT_FLOAT_EQ(a.depth, 4.0f);
  EXPECT_FLOAT_EQ(a.height, 4.0f);
  EXPECT_EQ(scene::currentShapeIndex(a.shape), 6);
  EXPECT_FLOAT_EQ(a.soundVolume, 100.0f);
  EXPECT_FLOAT_EQ(a.soundFrequency, 50.0f);
}

TEST(Placement, AnXAxisAssociationLinesTheObjectsUpOnX) {
  World w;
  const int32_t f = test::addIntegerField(*w.m.table, "v", {0, 50, 100, 25});
  w.associate(f, ATTRIB_AXISX);
  w.place();
  for (const ObjectRecord& o : w.objects) EXPECT_FLOAT_EQ(o.y, 0.0f);
  // Range 0..100 after rounding, scale 50: x = 100 t.
  EXPECT_NEAR(w.objects[0].x, 0.0f, 1e-4);
  EXPECT_NEAR(w.objects[1].x, 50.0f, 1e-3);
  EXPECT_NEAR(w.objects[2].x, 100.0f, 1e-3);
  EXPECT_NEAR(w.objects[3].x, 25.0f, 1e-3);
}

TEST(Placement, AMissingColourIsWhiteAndAMissingSizeAQuarter) {
  World w;
  const int32_t c = test::addIntegerField(*w.m.table, "c", {1, std::nullopt, 3});
  const int32_t s = test::addIntegerField(*w.m.table, "s", {1, std::nullopt, 3});
  w.associate(c, ATTRIB_COLOR);
  w.associate(s, ATTRIB_SIZE);
  w.place();
  const ObjectRecord& missing = w.objects[1];
  EXPECT_FLOAT_EQ(missing.red, 1.0f);
  EXPECT_FLOAT_EQ(missing.green, 1.0f);
  EXPECT_FLOAT_EQ(missing.blue, 1.0f);
  EXPECT_FLOAT_EQ(missing.alpha, 1.0f);
  EXPECT_FLOAT_EQ(missing.width, 1.0f);
  EXPECT_FLOAT_EQ(missing.depth, 1.0f);
  EXPECT_FLOAT_EQ(missing.height, 1.0f);
  // Size at t = 1, scale 50: f = 2 x 1 x 1 + 0.5.
  EXPECT_FLOAT_EQ(w.objects[2].width, 4.0f * 2.5f);
  EXPECT_NE(w.objects[0].blue, 1.0f);
}

TEST(Placement, ShapeAtScaleFiftyIsAPointUpToHalfAndSevenAtOne) {
  World w;
  const int32_t f = test::addIntegerField(*w.m.table, "v", {0, 25, 50, 75, 100});
  w.associate(f, ATTRIB_SHAPE, 50);
  w.place();
  EXPECT_EQ(scene::currentShapeIndex(w.objects[0].shape), 0);
  EXPECT_EQ(scene::currentShapeIndex(w.objects[1].shape), 0);
  EXPECT_EQ(scene::currentShapeIndex(w.objects[2].shape), 0);
  EXPECT_EQ(scene::currentShapeIndex(w.objects[3].shape), 3);
  EXPECT_EQ(scene::currentShapeIndex(w.objects[4].shape), 7);
  EXPECT_EQ(w.objects[4].shape & 0x0F, 6) << "the default shape stays in the low nibble";
}

TEST(Placement, ShapeAtScaleHundredUsesTheFullRange) {
  World w;
  const int32_t f = test::addIntegerField(*w.m.table, "v", {0, 50, 100});
  w.associate(f, ATTRIB_SHAPE, 100);
  w.place();
  EXPECT_EQ(scene::currentShapeIndex(w.objects[0].shape), 0);
  EXPECT_EQ(scene::currentShapeIndex(w.objects[1].shape), 7);
  EXPECT_EQ(scene::currentShapeIndex(w.objects[2].shape), 14);
}

TEST(Placement, AxisZWithoutAFieldAtScaleFiftyPutsEveryObjectAtZero) {
  World w;
  test::addIntegerField(*w.m.table, "v", {1, 2, 3});
  w.associate(-1, ATTRIB_AXISZ, 50);
  const VerticalAttribute v = w.place();
  for (const ObjectRecord& o : w.objects) EXPECT_FLOAT_EQ(o.z, 0.0f);
  EXPECT_EQ(v.attribute, ATTRIB_AXISZ);
  EXPECT_FLOAT_EQ(v.dataMin, 0.0f);
  EXPECT_FLOAT_EQ(v.dataMax, 1.0f);
}

TEST(Placement, HeightRotationOpacityAndSound) {
  World w;
  const int32_t f = test::addRealField(*w.m.table, "r", {0.0f, 1.0f, std::nullopt});
  w.associate(f, ATTRIB_HEIGHT, 50);
  w.associate(f, ATTRIB_ROTX, 50);
  w.associate(f, ATTRIB_OPACITY, 50);
  w.associate(f, ATTRIB_SOUND_VOLUME, 50);
  const VerticalAttribute v = w.place();
  EXPECT_FLOAT_EQ(w.objects[1].height, 4.0f * 2.0f * 2.5f);
  EXPECT_FLOAT_EQ(w.objects[0].height, 4.0f * 2.0f * 0.5f);
  EXPECT_FLOAT_EQ(w.objects[2].height, 2.0f) << "no value: half the base height";
  EXPECT_FLOAT_EQ(w.objects[1].rotX, -45.0f);
  EXPECT_FLOAT_EQ(w.objects[1].alpha, 1.0f);
  EXPECT_FLOAT_EQ(w.objects[0].alpha, 0.0f);
  EXPECT_FLOAT_EQ(w.objects[2].soundVolume, -1.0f);
  EXPECT_EQ(v.attribute, ATTRIB_HEIGHT);
  EXPECT_EQ(v.fieldType, FT_REAL);
  EXPECT_FLOAT_EQ(v.dataMax, 1.0f);
}

TEST(Rand15, SpansExactlyFifteenBits) {
  scene::Rand15 r;
  r.seed(12345);
  int lo = 1 << 20, hi = -1;
  for (int i = 0; i < 2000000; ++i) {
    const int v = r.next();
    lo = std::min(lo, v), hi = std::max(hi, v);
  }
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, scene::kRand15Max);
}

TEST(Placement, JitterStaysWithinHalfTheAmplitude) {
  World w;
  std::vector<std::optional<int32_t>> values(400, 1);
  test::addIntegerField(*w.m.table, "v", values);
  w.associate(-1, ATTRIB_JITTER, 100);  // a = 2.5 x 2 = 5
  w.place();
  float spread = 0.0f;
  for (const ObjectRecord& o : w.objects) {
    EXPECT_LE(std::fabs(o.x - o.defX), 2.5f + 1e-4f);
    EXPECT_LE(std::fabs(o.z), 2.5f + 1e-4f);
    spread = std::max(spread, std::fabs(o.x - o.defX));
  }
  EXPECT_GT(spread, 1.0f) << "the objects do move";
}

TEST(Placement, JitterDrawsOneSequenceAcrossAllObjectsSkippingMissingValues) {
  World w;
  std::vector<std::optional<int32_t>> values(5000);
  for (size_t i = 0; i < values.size(); ++i)
    if (i % 7 != 3) values[i] = static_cast<int32_t>(i % 50);
  const int32_t f = test::addIntegerField(*w.m.table, "v", values);
  w.associate(f, ATTRIB_JITTER, 50);
  w.place();
  scene::Rand15 rng;
  rng.seed(7);
  const auto offset = [&](float a) { return static_cast<float>(rng.next() - 16383) * 3.0518509e-5f * a; };
  for (size_t i = 0; i < values.size(); ++i) {
    const ObjectRecord& o = w.objects[i];
    if (!values[i]) {
      ASSERT_EQ(o.x, o.defX) << i;
      continue;
    }
    const float a = 2.5f * w.m.set->passes[0].values[i] * 1.0f;  // scale 50: k = 1
    const float x = o.defX + offset(a), y = o.defY + offset(a), z = offset(a);
    ASSERT_EQ(o.x, x) << i;
    ASSERT_EQ(o.y, y) << i;
    ASSERT_EQ(o.z, z) << i;
  }
}

// Enough objects for the layout and the placement to share them between
// both cores, in a count that ends inside a block.
TEST(Placement, BothCoresPlaceEveryObjectAsOneThreadDoes) {
  World w;
  constexpr int32_t kRows = 3 * scene::kObjectsForBothCores + 77;
  std::vector<std::optional<int32_t>> counts(kRows);
  std::vector<std::optional<float>> reals(kRows);
  std::vector<std::optional<std::string>> texts(kRows);
  for (int32_t i = 0; i < kRows; ++i) {
    if (i % 11 != 5) counts[static_cast<size_t>(i)] = (i * 37) % 1000;
    if (i % 13 != 2) reals[static_cast<size_t>(i)] = static_cast<float>(i % 977) / 9.0f;
    if (i % 17 != 0) texts[static_cast<size_t>(i)] = "t" + std::to_string(i % 23);
  }
  const int32_t count = test::addIntegerField(*w.m.table, "count", counts);
  const int32_t real = test::addRealField(*w.m.table, "real", reals);
  const int32_t text = test::addTextField(*w.m.table, "text", texts);
  w.associate(count, ATTRIB_AXISZ);
  w.associate(real, ATTRIB_DIMX);  // no X or Y axis: the default grid stays
  w.associate(text, ATTRIB_COLOR);
  w.associate(count, ATTRIB_SIZE);
  w.associate(real, ATTRIB_SHAPE);
  w.associate(text, ATTRIB_OPACITY);
  w.associate(real, ATTRIB_ROTZ);
  w.associate(count, ATTRIB_SOUND_VOLUME);

  const VerticalAttribute both = w.place();
  const ObjectArray placedOnBoth = w.objects;
  scene::PlacementInput alone{w.m.set.get(), w.m.table.get(), &w.m.colour, 7};
  alone.bothCores = false;
  const VerticalAttribute one = placeObjects(w.objects, alone);

  EXPECT_EQ(both.attribute, one.attribute);
  EXPECT_EQ(both.field, one.field);
  ASSERT_EQ(placedOnBoth.size(), static_cast<size_t>(kRows));
  const int32_t g = scene::gridColumns(kRows);
  for (size_t i = 0; i < placedOnBoth.size(); ++i) {
    const ObjectRecord& a = placedOnBoth[i];
    const ObjectRecord& b = w.objects[i];
    const float fa[] = {a.x, a.y, a.z, a.rotX, a.rotY, a.rotZ, a.red, a.green, a.blue, a.alpha, a.defX, a.defY,
                        a.width, a.depth, a.height, a.soundVolume, a.soundFrequency};
    const float fb[] = {b.x, b.y, b.z, b.rotX, b.rotY, b.rotZ, b.red, b.green, b.blue, b.alpha, b.defX, b.defY,
                        b.width, b.depth, b.height, b.soundVolume, b.soundFrequency};
    for (size_t k = 0; k < std::size(fa); ++k) ASSERT_EQ(fa[k], fb[k]) << "object " << i << ", member " << k;
    ASSERT_EQ(a.shape, b.shape) << i;
    ASSERT_FLOAT_EQ(a.defX, 10.0f * static_cast<float>(static_cast<int32_t>(i) % g + 1)) << i;
    ASSERT_FLOAT_EQ(a.defY, -10.0f * static_cast<float>(static_cast<int32_t>(i) / g + 1)) << i;
  }
  EXPECT_FLOAT_EQ(placedOnBoth[5].width, 1.0f) << "a missing size is a quarter";
}

TEST(SceneCentre, OverTheObjectsWithoutAxes) {
  World w;
  test::addIntegerField(*w.m.table, "v", {1, 2, 3, 4});
  w.place();
  SceneExtents e;
  ASSERT_TRUE(scene::computeExtents(w.objects, *w.m.set, w.space, e));
  EXPECT_FLOAT_EQ(e.xMin, 10.0f);
  EXPECT_FLOAT_EQ(e.xMax, 20.0f);
  EXPECT_FLOAT_EQ(e.yMin, 10.0f);
  EXPECT_FLOAT_EQ(e.yMax, 20.0f);
  EXPECT_FLOAT_EQ(e.zMax, 4.0f);
  float c[3];
  scene::sceneCentreOf(e, true, true, c);
  EXPECT_FLOAT_EQ(c[0], 15.0f);
  EXPECT_FLOAT_EQ(c[1], -15.0f);
  EXPECT_FLOAT_EQ(c[2], 4.0f * 0.335f);
  scene::sceneCentreOf(e, true, false, c);
  EXPECT_FLOAT_EQ(c[0], 0.0f);
}

TEST(SceneCentre, FromTheScaledTickRecordsWithAnAxis) {
  World w;
  const int32_t f = test::addIntegerField(*w.m.table, "v", {0, 93});
  w.associate(f, ATTRIB_AXISX);
  w.place();
  SceneExtents e;
  ASSERT_TRUE(scene::computeExtents(w.objects, *w.m.set, w.space, e));
  EXPECT_NEAR(e.xMin, 0.0f, 1e-4);
  EXPECT_NEAR(e.xMax, 100.0f, 1e-3);
  EXPECT_FLOAT_EQ(e.yMax, 0.0f);
}

}  // namespace
}  // namespace vlm
