// Shapes drawn through the frame: downward cylinders and cones, list sharing
// across objects, both quality caches kept.
#include <gtest/gtest.h>

#include "engine/commands/command_ids.h"
#include "engine/render/gl_setup.h"
#include "engine/render/render_commands.h"
#include "engine/render/render_context.h"
#include "platform/command_queue.h"
#include "scene/shapes/shape_cache.h"
#include "support/render_support.h"

namespace vlm {
namespace {

class ShapesRender : public ::testing::Test {
 protected:
  void SetUp() override {
    state = test::makeRenderState();
    ViewState& v = state->view->view;
    v.cameraTranslation[0] = 0, v.cameraTranslation[1] = 0, v.cameraTranslation[2] = -150;
    v.rotation[0] = -90.0f;  // z up on the screen
    capture = test::openView(*state, host);
    ASSERT_TRUE(capture);
  }
  void TearDown() override { onCloseWindow(*state, platform::Command{CMD_CLOSE_WINDOW}); }
  void draw() { onDrawScene(*state, platform::Command{CMD_DRAW_SCENE}); }
  bool litAt(int dy) const { return capture->at(capture->width / 2, capture->height / 2 + dy)[0] > 40; }
  const scene::ShapeCache& cache() const { return state->view->view.render->shapes; }
  void addObjects(int n, int shape, float w) {
    auto& m = *state->model;
    m.objects.assign(n, ObjectRecord{});
    for (int i = 0; i < n; ++i) {
      m.objects[i].shape = uint8_t(shape << 4);
      m.objects[i].width = m.objects[i].depth = m.objects[i].height = w;
      m.objects[i].x = float(i * 10);
    }
    m.objectCount = n;
    m.selectionFlags.assign(n, 1);
    state->view->view.cacheValid[CACHE_OBJECTS] = false;
  }

  test::ViewHost host;
  std::shared_ptr<EngineState> state;
  std::shared_ptr<test::CaptureContent> capture;
};

TEST_F(ShapesRender, CylinderAndConeWithANegativeHeightPointDown) {
  for (int shape : {8, 9}) {
    test::setSingleObject(*state, shape, 20, 20, -40, 1.0f, 0.0f, 0.0f);
    draw();
    EXPECT_TRUE(litAt(-25)) << "shape " << shape << " below z = 0";
    EXPECT_FALSE(litAt(25)) << "shape " << shape << " nothing above z = 0";
    test::setSingleObject(*state, shape, 20, 20, 40, 1.0f, 0.0f, 0.0f);
    draw();
    EXPECT_TRUE(litAt(25)) << "shape " << shape << " upward with a positive height";
    EXPECT_FALSE(litAt(-25));
  }
}

TEST_F(ShapesRender, SameSizedObjectsShareOneListAndAWidthChangeMakesAnother) {
  addObjects(5, 5, 4.0f);
  draw();  // compiles the sphere list and leaves the object list to the next frame
  EXPECT_FALSE(state->view->view.cacheValid[CACHE_OBJECTS]);
  draw();
  EXPECT_TRUE(state->view->view.cacheValid[CACHE_OBJECTS]);
  EXPECT_EQ(scene::shapeListCount(cache()), 1u);
  state->model->objects[2].width = 4.5f;
  state->view->view.cacheValid[CACHE_OBJECTS] = false;
  draw();
  EXPECT_EQ(scene::shapeListCount(cache()), 2u);
  state->model->objects[2].width = 4.0f;
  state->view->view.cacheValid[CACHE_OBJECTS] = false;
  draw();
  EXPECT_EQ(scene::shapeListCount(cache()), 1u) << "the size no object uses any more is dropped";
}

TEST_F(ShapesRender, SwitchingQualityKeepsBothCaches) {
  addObjects(3, 7, 4.0f);
  draw();
  EXPECT_EQ(scene::shapeListCount(cache(), scene::SHAPE_SOLID), 1u);
  render::applyRenderQuality(*state, 3);
  draw();
  EXPECT_EQ(scene::shapeListCount(cache(), scene::SHAPE_WIREFRAME), 1u);
  EXPECT_EQ(scene::shapeListCount(cache(), scene::SHAPE_SOLID), 1u);
  render::applyRenderQuality(*state, 1);
  draw();
  EXPECT_TRUE(state->view->view.cacheValid[CACHE_OBJECTS]) << "the solid list was still there";
  EXPECT_EQ(scene::shapeListCount(cache()), 2u);
}

TEST_F(ShapesRender, EveryShapeAndVariantDrawsWithoutError) {
  for (int quality : {1, 3}) {
    render::applyRenderQuality(*state, quality);
    for (int shape = 0; shape < 16; ++shape) {
      test::setSingleObject(*state, shape, 20, 20, 20, 0.0f, 0.0f, 1.0f);
      draw();
      draw();
      EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "shape " << shape << " quality " << quality;
    }
  }
  state->view->view.texturesPresent = true;
  render::applyRenderQuality(*state, 1);
  for (int shape = 0; shape < 16; ++shape) {
    test::setSingleObject(*state, shape, 20, 20, 20, 0.0f, 0.0f, 1.0f);
    draw();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "textured shape " << shape;
  }
}

}  // namespace
}  // namespace vlm
