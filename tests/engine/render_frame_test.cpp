// The frame read back from llvmpipe: clear colour, a box at the centre,
// wireframe against solid quality, render quality switching, resize.
#include <gtest/gtest.h>

#include "engine/commands/command_ids.h"
#include "engine/render/gl_setup.h"
#include "engine/render/render_commands.h"
#include "engine/render/render_context.h"
#include "platform/command_queue.h"
#include "support/render_support.h"

namespace vlm {
namespace {

using test::CaptureContent;

class RenderFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    state = test::makeRenderState();
    ViewState& v = state->view->view;
    v.cameraTranslation[0] = 0, v.cameraTranslation[1] = 0, v.cameraTranslation[2] = -100;
    capture = test::openView(*state, host);
    ASSERT_TRUE(capture) << "no context under Xvfb";
  }
  void TearDown() override {
    test::closeView(*state);
  }
  void draw() { test::drawScene(*state); }
  std::array<uint8_t, 4> centre() const { return capture->at(capture->width / 2, capture->height / 2); }

  test::ViewHost host;
  std::shared_ptr<EngineState> state;
  std::shared_ptr<CaptureContent> capture;
};

TEST_F(RenderFrame, ClearsToTheBackgroundColour) {
  state->view->space.rows[0].rgba[0] = 0.0f;
  state->view->space.rows[0].rgba[1] = 0.0f;
  state->view->space.rows[0].rgba[2] = 1.0f;
  render::applyClearColour(*state);
  draw();
  const auto p = centre();
  EXPECT_LT(p[0], 5);
  EXPECT_LT(p[1], 5);
  EXPECT_GT(p[2], 250);
}

TEST_F(RenderFrame, DrawsABoxOfItsColourAtTheCentre) {
  test::setSingleObject(*state, 6, 20, 20, 20, 1.0f, 0.0f, 0.0f);
  draw();
  const auto p = centre();
  EXPECT_GT(p[0], 100);
  EXPECT_LT(p[1], 30);
  EXPECT_LT(p[2], 30);
  // Well away from the box the background shows.
  EXPECT_LT(capture->at(2, 2)[0], 5);
}

TEST_F(RenderFrame, WireframeQualityLeavesTheFaceOpen) {
  test::setSingleObject(*state, 6, 20, 20, 20, 1.0f, 0.0f, 0.0f);
  EXPECT_TRUE(render::applyRenderQuality(*state, 3));
  draw();
  EXPECT_LT(centre()[0], 5) << "only outlines in low quality";
  EXPECT_TRUE(render::applyRenderQuality(*state, 1));
  draw();
  EXPECT_GT(centre()[0], 100) << "filled again in high quality";
}

TEST_F(RenderFrame, RenderQualityOneTwiceChangesNothingTheSecondTime) {
  ViewState& v = state->view->view;
  EXPECT_FALSE(render::applyRenderQuality(*state, 1));  // stored level is 1 already
  EXPECT_TRUE(render::applyRenderQuality(*state, 2));
  EXPECT_EQ(v.renderQuality, 3);
  EXPECT_EQ(v.wireframe, 1);
  GLint mode[2] = {};
  glGetIntegerv(GL_POLYGON_MODE, mode);
  EXPECT_EQ(mode[0], GL_LINE);
  v.cacheValid[CACHE_OBJECTS] = true;
  EXPECT_TRUE(render::applyRenderQuality(*state, 2)) << "2 is not the stored 3, so it applies again";
  EXPECT_FALSE(v.cacheValid[CACHE_OBJECTS]);
  EXPECT_TRUE(render::applyRenderQuality(*state, 1));
  v.cacheValid[CACHE_OBJECTS] = true;
  EXPECT_FALSE(render::applyRenderQuality(*state, 1));
  EXPECT_TRUE(v.cacheValid[CACHE_OBJECTS]) << "a second (1) leaves the object list alone";
  EXPECT_TRUE(glIsEnabled(GL_POLYGON_SMOOTH));
}

TEST_F(RenderFrame, ResizeDrawsOneFrame) {
  const int before = state->view->view.render->framesDrawn;
  platform::Command resize;
  resize.number = CMD_RESIZE;
  resize.wParam = 160;
  resize.lParam = 120;
  onResize(*state, resize);
  EXPECT_EQ(state->view->view.render->framesDrawn, before + 1);
  EXPECT_EQ(state->view->view.viewportWidth, 160);
  EXPECT_FLOAT_EQ(state->view->view.aspect, 160.0f / 120.0f);
  EXPECT_FALSE(state->view->view.cacheValid[CACHE_LEGEND]);
  resize.lParam = 0;  // a zero height keeps the last aspect
  onResize(*state, resize);
  EXPECT_FLOAT_EQ(state->view->view.aspect, 160.0f / 120.0f);
}

TEST_F(RenderFrame, OpenQueuesTheColourModelAndQuality) {
  const auto queued = test::drainEngineQueue(*state);
  ASSERT_GE(queued.size(), 2u);
  EXPECT_EQ(queued[0], CMD_SET_DEFAULT_COLOR_MODEL);
  EXPECT_EQ(queued[1], CMD_SET_RENDER_QUALITY);
}

TEST_F(RenderFrame, KeepsTheGlStringsBoundedAndMakesFontLists) {
  const ViewState& v = state->view->view;
  EXPECT_FALSE(v.glVendor.empty());
  EXPECT_FALSE(v.glVersion.empty());
  EXPECT_LT(v.glExtensions.size(), kGlStringCapacity);
  const auto& rc = *v.render;
  ASSERT_NE(rc.bitmapFontBase, 0u);
  EXPECT_TRUE(glIsList(rc.bitmapFontBase + 'A'));
  EXPECT_TRUE(glIsList(rc.bitmapFontBase + 254));
  EXPECT_GT(rc.fontHeight, 0);
  EXPECT_GE(v.windowColorDepth.load(), 24);
}

TEST_F(RenderFrame, AShapeIndexOfFifteenDrawsAPoint) {
  test::setSingleObject(*state, 15, 20, 20, 20, 0.0f, 1.0f, 0.0f);
  draw();
  const auto p = centre();
  EXPECT_GT(p[1], 50) << "a 3-pixel point at the origin";
  EXPECT_LT(capture->at(capture->width / 2 + 10, capture->height / 2)[1], 5);
}

}  // namespace
}  // namespace vlm
