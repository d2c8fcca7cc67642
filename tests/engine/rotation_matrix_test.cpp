#include "engine/model_file/rotation_matrix.h"

#include <gtest/gtest.h>

namespace vlm {
namespace {

TEST(RotationMatrixTest, AnglesComeBackFromTheirMatrix) {
  const float cases[][3] = {{-70, 0, 0}, {-60, 0, 30}, {10, 20, 30}, {-170, 45, -120}, {0, 0, 0}};
  for (const auto& c : cases) {
    const std::array<float, 9> m = rotationMatrix(c);
    float back[3] = {};
    ASSERT_TRUE(rotationAngles(m, back));
    const std::array<float, 9> again = rotationMatrix(back);
    for (size_t i = 0; i < 9; ++i) EXPECT_NEAR(m[i], again[i], 1e-5) << c[0] << " " << c[1] << " " << c[2];
  }
  // About X alone, as the camera stands at start.
  const float start[3] = {-70, 0, 0};
  float back[3] = {};
  ASSERT_TRUE(rotationAngles(rotationMatrix(start), back));
  EXPECT_NEAR(back[0], -70.0f, 1e-3);
  EXPECT_NEAR(back[1], 0.0f, 1e-3);
  EXPECT_NEAR(back[2], 0.0f, 1e-3);
  // The X rotation's matrix, row by row.
  const float quarter[3] = {90, 0, 0};
  const std::array<float, 9> q = rotationMatrix(quarter);
  EXPECT_NEAR(q[5], -1.0f, 1e-6);  // row 1, column 2: -sin
  EXPECT_NEAR(q[7], 1.0f, 1e-6);
}

TEST(RotationMatrixTest, WhatIsNoRotationLeavesTheAnglesAlone) {
  float angles[3] = {1, 2, 3};
  EXPECT_FALSE(rotationAngles({}, angles));  // the zeros of a file without the keys
  EXPECT_FALSE(rotationAngles({2, 0, 0, 0, 2, 0, 0, 0, 2}, angles));
  EXPECT_FALSE(rotationAngles({-1, 0, 0, 0, 1, 0, 0, 0, 1}, angles));  // a mirror
  EXPECT_EQ(angles[0], 1.0f);
  EXPECT_EQ(angles[2], 3.0f);
  // A quarter turn about Y still gives a matrix that comes back.
  const float gimbal[3] = {30, 90, 0};
  float back[3] = {};
  ASSERT_TRUE(rotationAngles(rotationMatrix(gimbal), back));
  const auto m = rotationMatrix(gimbal), again = rotationMatrix(back);
  for (size_t i = 0; i < 9; ++i) EXPECT_NEAR(m[i], again[i], 1e-4);
}

}  // namespace
}  // namespace vlm
