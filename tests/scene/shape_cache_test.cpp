// The shape list cache on a real context (Xvfb, llvmpipe).
#include <gtest/gtest.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>

#include <memory>

#include "scene/shapes/shape_cache.h"
#include "scene/shapes/shape_draw.h"

namespace vlm::scene {
namespace {

class ShapeCacheGl : public ::testing::Test {
 protected:
  void SetUp() override {
    QSurfaceFormat f;
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setDepthBufferSize(16);
    surface.setFormat(f);
    surface.create();
    context.setFormat(f);
    ASSERT_TRUE(context.create());
    ASSERT_TRUE(context.makeCurrent(&surface));
    quadric = gluNewQuadric();
  }
  void TearDown() override {
    clearShapeCache(cache);
    gluDeleteQuadric(quadric);
    context.doneCurrent();
  }
  void draw(int shape, ShapeVariant v, float w, float d, float h) {
    drawShape(cache, target, quadric, shape, v, w, d, h);
  }
  QOffscreenSurface surface;
  QOpenGLContext context;
  GLUquadric* quadric = nullptr;
  ShapeCache cache;
  ShapeDrawTarget target;
};

TEST_F(ShapeCacheGl, SameSizesShareOneList) {
  draw(SHAPE_SPHERE, SHAPE_SOLID, 4, 4, 4);
  draw(SHAPE_SPHERE, SHAPE_SOLID, 4, 9, 1);  // depth and height are not keys of the sphere
  EXPECT_EQ(shapeListCount(cache), 1u);
  draw(SHAPE_SPHERE, SHAPE_SOLID, 4.0001f, 4, 4);
  EXPECT_EQ(shapeListCount(cache), 2u) << "any change of the width is a new list";
  draw(SHAPE_BOX, SHAPE_SOLID, 4, 4, 4);
  EXPECT_EQ(shapeListCount(cache), 2u) << "boxes are drawn directly";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShapeCacheGl, VariantsHaveTheirOwnSlotsAndTrimOnlyTheirOwn) {
  draw(SHAPE_CYLINDER, SHAPE_SOLID, 4, 4, 4);
  draw(SHAPE_CYLINDER, SHAPE_WIREFRAME, 4, 4, 4);
  EXPECT_EQ(shapeListCount(cache, SHAPE_SOLID), 1u);
  EXPECT_EQ(shapeListCount(cache, SHAPE_WIREFRAME), 1u);
  beginShapeCacheUse(cache);
  draw(SHAPE_CYLINDER, SHAPE_WIREFRAME, 6, 4, 4);
  trimShapeCache(cache, SHAPE_WIREFRAME);
  EXPECT_EQ(shapeListCount(cache, SHAPE_WIREFRAME), 1u) << "the unused size went";
  EXPECT_EQ(shapeListCount(cache, SHAPE_SOLID), 1u) << "the other quality's lists stay";
}

TEST_F(ShapeCacheGl, AMissInsideTheObjectListEndsItAndStillDraws) {
  const GLuint objects = glGenLists(1);
  glNewList(objects, GL_COMPILE_AND_EXECUTE);
  target.compilingObjectList = true;
  draw(SHAPE_TORUS, SHAPE_SOLID, 4, 4, 4);
  EXPECT_TRUE(target.objectListEnded);
  EXPECT_FALSE(target.compilingObjectList);
  EXPECT_EQ(shapeListCount(cache), 1u);
  GLint mode = 0;
  glGetIntegerv(GL_LIST_MODE, &mode);
  EXPECT_EQ(mode, 0) << "no list is open any more";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  glDeleteLists(objects, 1);
}

TEST_F(ShapeCacheGl, ImmediateDrawingWorksInSelectMode) {
  GLuint buffer[64];
  glSelectBuffer(64, buffer);
  glRenderMode(GL_SELECT);
  glInitNames();
  glPushName(7);
  for (int shape = 0; shape < 16; ++shape) drawShapeImmediate(shape, SHAPE_SOLID, 4, 4, 4, quadric);
  glRenderMode(GL_RENDER);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
}  // namespace vlm::scene
