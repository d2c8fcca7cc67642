#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/report.h"
#include "scene/matrix_stack.h"

namespace vlm::scene {
namespace {

struct Errors {
  Errors() {
    previous = platform::setErrorSink([this](const char* t) { texts.emplace_back(t); });
  }
  ~Errors() { platform::setErrorSink(previous); }
  std::vector<std::string> texts;
  platform::ErrorSink previous;
};

TEST(MatrixStack, NinePushesSucceedAndTheTenthOverflows) {
  Errors errors;
  MatrixStack s;
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(pushMatrix(s)) << i;
  EXPECT_EQ(s.depth, 9);
  translateMatrix(s, 1, 2, 3);
  EXPECT_FALSE(pushMatrix(s));
  EXPECT_EQ(s.depth, 9);
  ASSERT_EQ(errors.texts.size(), 1u);
  EXPECT_EQ(errors.texts[0], "m_pushmatrix: stack overflow\n");
  EXPECT_EQ(s.levels[9].m[3][2], 3.0) << "the top level is untouched";
}

TEST(MatrixStack, PopAtTheBottomUnderflows) {
  Errors errors;
  MatrixStack s;
  EXPECT_TRUE(pushMatrix(s));
  EXPECT_TRUE(popMatrix(s));
  EXPECT_FALSE(popMatrix(s));
  EXPECT_EQ(s.depth, 0);
  ASSERT_EQ(errors.texts.size(), 1u);
  EXPECT_EQ(errors.texts[0], "m_popmatrix: stack underflow\n");
}

TEST(MatrixStack, TranslateAndScaleActInLocalSpace) {
  MatrixStack s;
  translateMatrix(s, 10, 0, 0);
  scaleMatrix(s, 2, 3, 4);
  const double p[3] = {1, 1, 1};
  double out[3];
  transformPoint(s, p, out);
  EXPECT_DOUBLE_EQ(out[0], 12.0);
  EXPECT_DOUBLE_EQ(out[1], 3.0);
  EXPECT_DOUBLE_EQ(out[2], 4.0);
  EXPECT_DOUBLE_EQ(s.levels[0].inv[0][0], 0.5);
  EXPECT_DOUBLE_EQ(s.levels[0].inv[2][2], 0.25);
  // A normal of a surface stretched along x leans towards the other axes.
  const double n[3] = {1, 1, 0};
  transformNormal(s, n, out);
  EXPECT_NEAR(out[0] / out[1], 1.5, 1e-12);
}

TEST(MatrixStack, PopRestoresTheLevelBelow) {
  MatrixStack s;
  translateMatrix(s, 1, 0, 0);
  pushMatrix(s);
  translateMatrix(s, 5, 0, 0);
  rotateMatrix(s, 90, 2);
  const double p[3] = {1, 0, 0};
  double out[3];
  transformPoint(s, p, out);
  EXPECT_NEAR(out[0], 6.0, 1e-12);
  EXPECT_NEAR(out[1], 1.0, 1e-12);
  popMatrix(s);
  transformPoint(s, p, out);
  EXPECT_NEAR(out[0], 2.0, 1e-12);
  EXPECT_NEAR(out[1], 0.0, 1e-12);
}

}  // namespace
}  // namespace vlm::scene
