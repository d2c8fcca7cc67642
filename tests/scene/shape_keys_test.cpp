#include <gtest/gtest.h>

#include <cmath>

#include "scene/shapes/shape_types.h"

namespace vlm::scene {
namespace {

TEST(ShapeKeys, FollowTheShapeTable) {
  EXPECT_EQ(shapeKeys(SHAPE_BOX, 4, 4, 4).count, 0);
  EXPECT_EQ(shapeKeys(SHAPE_POINT, 4, 4, 4).count, 0);
  EXPECT_EQ(shapeKeys(15, 4, 4, 4).count, 0);
  auto k = shapeKeys(SHAPE_SPHERE, 4, 1, 9);
  EXPECT_EQ(k.count, 1);
  EXPECT_EQ(k.key[0], 4.0);
  k = shapeKeys(SHAPE_TORUS, 4, 1, 8);
  EXPECT_EQ(k.count, 2);
  EXPECT_EQ(k.key[0], 2.0);
  EXPECT_EQ(k.key[1], 2.0);
  k = shapeKeys(SHAPE_CYLINDER, 6, 1, -3);
  EXPECT_EQ(k.key[0], 3.0);
  EXPECT_EQ(k.key[1], -3.0);
  k = shapeKeys(SHAPE_OCTAHEDRON, 4, 1, 5);
  EXPECT_EQ(k.count, 2);
  EXPECT_EQ(k.key[0], 3.0);
  EXPECT_EQ(shapeKeys(SHAPE_TURNED_OCTAHEDRON, 4, 1, 5).count, 1);
  EXPECT_EQ(shapeKeys(SHAPE_DODECAHEDRON, 4, 1, 5).key[0], 2.0);
  EXPECT_EQ(currentShapeIndex(0xF6), 15);
}

TEST(ShapeKeys, NegativeZeroFindsTheSameKey) {
  EXPECT_EQ(shapeKeys(SHAPE_CONE, 4, 1, -0.0f).key[1], shapeKeys(SHAPE_CONE, 4, 1, 0.0f).key[1]);
  EXPECT_FALSE(std::signbit(shapeKeys(SHAPE_CONE, 4, 1, -0.0f).key[1]));
}

}  // namespace
}  // namespace vlm::scene
