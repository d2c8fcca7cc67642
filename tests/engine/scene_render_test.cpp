// The scene read back from llvmpipe: objects where they belong, labels, the
// lattice, axes and their pick names, water with its value label, the legend
// with its colour bar, the information panel.
#include <gtest/gtest.h>

#include <GL/glu.h>

#include <cstdlib>

#include "engine/commands/command_ids.h"
#include "engine/render/frame.h"
#include "engine/render/render_commands.h"
#include "engine/render/render_context.h"
#include "engine/scene/legend.h"
#include "engine/scene/model_builders.h"
#include "engine/scene/selection_draw.h"
#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/space_settings_table.h"
#include "platform/command_queue.h"
#include "support/scene_support.h"
#include "support/table_loader.h"

namespace vlm {
namespace {

using Pixel = std::array<uint8_t, 4>;

bool blue(const Pixel& p) { return p[2] > 60 && p[2] > p[0] + 40; }
bool red(const Pixel& p) { return p[0] > 150 && p[1] < 100 && p[2] < 100; }
bool grey(const Pixel& p) { return p[0] > 30 && std::abs(p[0] - p[1]) < 6 && std::abs(p[1] - p[2]) < 6; }

class SceneRender : public ::testing::Test {
 protected:
  void SetUp() override {
    state = test::makeRenderState();
    capture = test::openSceneView(*state, host);
    ASSERT_TRUE(capture) << "no context under Xvfb";
    ViewState& v = state->view->view;
    v.cameraTranslation[0] = 0, v.cameraTranslation[1] = 0, v.cameraTranslation[2] = -100;
    v.rotation[0] = v.rotation[1] = v.rotation[2] = 0;  // looking down onto the x-y plane
  }
  void TearDown() override {
    if (const char* folder = std::getenv("VLM_SCREENSHOTS"))
      capture->save(std::string(folder) + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png");
    test::closeView(*state);
  }
  void load(const std::vector<test::Column>& columns) {
    test::loadTable(*state, columns);
    test::selectAll(*state);
  }
  void associate(int32_t field, int32_t attribute, int32_t scale = -1) {
    platform::DataLockGuard lock(state->main->dataLock);
    ModelContext ctx = modelContext(*state);
    ASSERT_EQ(associateFieldLocked(ctx, field, 0, attribute, scale, 0), 1);
  }
  void draw() { test::drawScene(*state); }
  std::array<int, 2> at(const ObjectRecord& o) { return test::project(*state, o.x, o.y, o.z + o.height); }
  const ObjectRecord& object(size_t i) { return state->model->objects[i]; }

  test::ViewHost host{300, 300};
  std::shared_ptr<EngineState> state;
  std::shared_ptr<test::SceneCapture> capture;
};

TEST_F(SceneRender, WithoutAssociationsTheObjectsAreBlueBoxesOnAGrid) {
  load({{"n", {"1", "2", "3", "4", "5"}}});
  test::rebuild(*state);
  ASSERT_EQ(state->model->objectCount, 5);
  EXPECT_FLOAT_EQ(object(2).x, 30.0f);  // three columns
  EXPECT_FLOAT_EQ(object(3).y, -20.0f);
  for (size_t i = 0; i < 5; ++i) {
    const auto p = at(object(i));
    EXPECT_GT(capture->count(p[0], p[1], 1, blue), 5) << "object " << i << " at " << p[0] << "," << p[1];
  }
  const auto empty = at(object(4));  // where a sixth object would stand
  EXPECT_EQ(capture->count(empty[0] + 27, empty[1], 1, blue), 0);
}

TEST_F(SceneRender, AnXAxisAssociationLinesTheObjectsUp) {
  load({{"v", {"0", "50", "100"}}});
  associate(0, ATTRIB_AXISX);
  state->view->view.cameraTranslation[2] = -250;  // the whole axis in view
  test::rebuild(*state);
  const auto a = at(object(0)), b = at(object(1)), c = at(object(2));
  EXPECT_EQ(a[1], b[1]);
  EXPECT_EQ(b[1], c[1]);
  EXPECT_LT(a[0], b[0]);
  EXPECT_LT(b[0], c[0]);
  for (const auto& p : {a, b, c}) EXPECT_GT(capture->count(p[0], p[1], 1, blue), 3);
}

TEST_F(SceneRender, DeselectedObjectsAreNotDrawnAndHaveNoLabel) {
  load({{"v", {"1", "2"}}, {"name", {"alpha", "beta"}}});
  associate(1, ATTRIB_LABEL);
  SpaceSettings& s = state->view->space;
  s.rows[kRowLabelColorByObject].value = 0;
  setRowColour(s.rows[kRowLabelColor], 0x0000FF, 1.0f);  // red labels
  state->model->selectionFlags[1] = 0;
  test::rebuild(*state);
  const auto shown = at(object(0)), hidden = at(object(1));
  EXPECT_GT(capture->count(shown[0], shown[1], 1, blue), 3);
  EXPECT_EQ(capture->count(hidden[0], hidden[1], 3, blue), 0);
  EXPECT_GT(capture->count(shown[0] + 12, shown[1] + 4, 10, red), 5) << "the label of the drawn object";
  EXPECT_EQ(capture->count(hidden[0] + 12, hidden[1] + 4, 10, red), 0) << "no label for the hidden one";
}

TEST_F(SceneRender, AnEmptyLabelTextGivesNoLabel) {
  load({{"v", {"1", "2"}}, {"name", {"alpha", ""}}});
  associate(1, ATTRIB_LABEL);
  SpaceSettings& s = state->view->space;
  s.rows[kRowLabelColorByObject].value = 0;
  setRowColour(s.rows[kRowLabelColor], 0x0000FF, 1.0f);
  test::rebuild(*state);
  EXPECT_NE(object(0).labelList, 0);
  EXPECT_EQ(object(1).labelList, 0);
  const auto p = at(object(1));
  EXPECT_EQ(capture->count(p[0] + 12, p[1] + 4, 10, red), 0);
}

TEST_F(SceneRender, ThreeDimensionalLabelsDrawExtrudedGlyphs) {
  load({{"v", {"1"}}, {"name", {"WWW"}}});
  associate(1, ATTRIB_LABEL);
  SpaceSettings& s = state->view->space;
  s.rows[kRowLabel3D].value = 1;
  s.rows[kRowLabel3DDepth].value = 5;
  s.rows[kRowLabelColorByObject].value = 0;
  setRowColour(s.rows[kRowLabelColor], 0x0000FF, 1.0f);
  s.rows[kRowLabelFont].secondary = 6.0f;
  ViewState& v = state->view->view;
  v.rotation[0] = -80.0f;  // from the side, where the upright text shows
  test::rebuild(*state);
  ASSERT_TRUE(sceneContent(*state)->gl().labelFontOutline);
  EXPECT_GT(sceneContent(*state)->gl().labelMetrics.advances['W'], 0.3f);
  const auto p = test::project(*state, object(0).x + 2 + 9, object(0).y, object(0).z + 4 + 2);
  EXPECT_GT(capture->count(p[0], p[1], 25, red), 20);
}

TEST_F(SceneRender, OnlyTheBaseLatticeWithoutAssociations) {
  load({{"v", {"1", "2", "3", "4"}}});
  test::rebuild(*state);
  const auto& g = sceneContent(*state)->gl().geometry;
  ASSERT_EQ(g.lattices.size(), 1u);
  ASSERT_FALSE(g.lattices[0].lines.empty());
  const auto& seg = g.lattices[0].lines.front();
  const auto p = test::project(*state, seg.a[0], (seg.a[1] + seg.b[1]) * 0.5f, 0.0f);
  EXPECT_GT(capture->count(p[0], p[1], 1, grey), 0) << "a lattice line at " << p[0] << "," << p[1];
}

TEST_F(SceneRender, AxesShowTheirColourAndVanishAtTransparencyHundred) {
  load({{"x", {"0", "100"}}});
  associate(0, ATTRIB_AXISX);
  SpaceSettings& s = state->view->space;
  setRowColour(s.rows[kRowAxesColor], 0x00FF00, 1.0f);  // green axes
  setTransparency(s, kRowAxesTransparency, 0);
  s.rows[kRowAxesLineWidth].value = 30;
  state->view->view.cameraTranslation[2] = -250;
  test::rebuild(*state);
  auto green = [](const Pixel& p) { return p[1] > 150 && p[0] < 90 && p[2] < 90; };
  const auto mid = test::project(*state, 110.0f, 0.0f, 0.0f);  // beyond the objects, before the tip
  EXPECT_GT(capture->count(mid[0], mid[1], 2, green), 0);
  setTransparency(s, kRowAxesTransparency, 100);
  state->view->view.cacheValid[CACHE_SPACE] = false;
  draw();
  EXPECT_EQ(capture->count(mid[0], mid[1], 2, green), 0);
}

TEST_F(SceneRender, ArrowTypeZeroStillPicksTheAxis) {
  load({{"x", {"0", "100"}}});
  associate(0, ATTRIB_AXISX);
  state->view->space.rows[kRowArrowType].value = 0;
  test::rebuild(*state);
  const auto tip = test::project(*state, 100.0f, 0.0f, 0.0f);
  GLuint buffer[256] = {};
  glSelectBuffer(256, buffer);
  glRenderMode(GL_SELECT);
  glInitNames();
  glPushName(static_cast<GLuint>(-1));
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  const CameraSnapshot camera = snapshotCamera(state->view->view);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPickMatrix(tip[0], tip[1], 8, 8, viewport);
  gluPerspective(camera.fieldOfView, state->view->view.aspect, 1.0, 10000.0);
  render::loadFrameModelView(state->view->view, camera);
  drawForSelection(*state, SelectionPass::Axes);
  const GLint hits = glRenderMode(GL_RENDER);
  ASSERT_GT(hits, 0);
  EXPECT_EQ(buffer[3], 2000000011u);
}

TEST_F(SceneRender, SelectionPassNamesObjectsAndWaterWithoutCallingLists) {
  load({{"v", {"1", "2"}}});
  for (int type : {4, 2}) {  // ball arrows drawn without a quadric
    state->view->space.rows[kRowArrowType].value = type;
    test::rebuild(*state);
    state->view->view.waterLevelState = 1;
    const auto p = at(object(0));
    GLuint buffer[512] = {};
    glSelectBuffer(512, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(static_cast<GLuint>(-1));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const CameraSnapshot camera = snapshotCamera(state->view->view);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPickMatrix(p[0], p[1], 3, 3, viewport);
    gluPerspective(camera.fieldOfView, state->view->view.aspect, 1.0, 10000.0);
    render::loadFrameModelView(state->view->view, camera);
    drawForSelection(*state, SelectionPass::ObjectsAndWater);
    drawForSelection(*state, SelectionPass::Axes);
    const GLint hits = glRenderMode(GL_RENDER);
    ASSERT_GT(hits, 0);
    bool sample = false, water = false;
    for (GLint h = 0, at = 0; h < hits; ++h) {
      const GLuint names = buffer[at];
      if (names > 0) {
        sample = sample || buffer[at + 3] == 0u;
        water = water || buffer[at + 3] == 2000000000u;
      }
      at += 3 + static_cast<GLint>(names);
    }
    EXPECT_TRUE(sample);
    EXPECT_TRUE(water);
  }
}

TEST_F(SceneRender, TheWaterShowsTheHeightWithTwoDecimals) {
  load({{"h", {"1.5", "2.5", "3.5"}}});
  associate(0, ATTRIB_HEIGHT);
  test::rebuild(*state);
  ViewState& v = state->view->view;
  v.waterLevelState = 1;
  v.waterLevelPosition[0] = v.waterLevelPosition[1] = 0.0f;
  v.waterLevelPosition[2] = 10.0f;
  draw();
  const VerticalAttribute& vert = state->model->scene.vertical;
  EXPECT_EQ(vert.attribute, ATTRIB_HEIGHT);
  const std::string text = scene::waterValueText(vert, state->view->space.axes[2], 10.0f);
  EXPECT_EQ(text.size(), text.find('.') + 3) << text;
  auto label = [](const Pixel& p) { return p[0] > 200 && p[1] < 90 && p[2] < 90; };
  const auto p = test::project(*state, 0.0f, 0.0f, 12.0f);
  EXPECT_GT(capture->count(p[0] + 12, p[1] + 4, 12, label), 3);
}

TEST_F(SceneRender, TheLegendShowsTheColourBarAndTheAssociations) {
  load({{"c", {"0", "50", "100"}}, {"s", {"1", "2", "3"}}});
  associate(0, ATTRIB_COLOR);
  associate(1, ATTRIB_SIZE);
  test::rebuild(*state);
  draw();  // the first frame recorded the legend's width and asked for one more
  const int c = 300 - 152;
  const Pixel low = capture->at(15, c + 3), high = capture->at(15, c + 147);
  EXPECT_GT(low[2], 150) << "spectrum inverse starts blue";
  EXPECT_GT(high[0], 150) << "and ends red";
  EXPECT_LT(high[2], 120);
  const auto rects = layoutLegendForPicking(*state);
  int32_t colourLine = -1;
  for (const HotRect& r : rects)
    if (r.name == 2000000101) colourLine = r.bottom;
  ASSERT_GE(colourLine, 0);
  auto menu = [](const Pixel& p) { return p[0] > 100 && std::abs(p[0] - p[2]) < 10; };  // the dark scheme's grey
  EXPECT_GT(capture->count(30, colourLine + 4, 20, menu), 5) << "legend text";
}

TEST_F(SceneRender, TheInformationPanelOpensAtTheMouse) {
  load({{"name", {"alpha"}}, {"v", {"1"}}});
  test::rebuild(*state);
  InputState& in = state->main->input;
  in.infoPanelOn = 1;
  in.highlightedObject = 0;
  in.currentX = 40;
  in.currentY = 60;
  draw();
  auto paper = [](const Pixel& p) { return p[0] > 200 && p[1] > 200 && p[2] > 150 && p[2] + 10 < p[0]; };
  EXPECT_GT(capture->count(120, 300 - 60 - 30, 15, paper), 50);
  auto ink = [](const Pixel& p) { return p[0] < 60 && p[1] < 60 && p[2] < 60; };
  EXPECT_GT(capture->count(60, 300 - 60 - 30, 40, ink), 10) << "texts on the panel";
}

// Screenshots of each builder when VLM_SCREENSHOTS names a folder.
TEST_F(SceneRender, EachBuilderDrawsItsModel) {
  std::vector<test::Column> cols = {
      {"Weight", {}}, {"Power", {}}, {"Price", {}}, {"Maker", {}}, {"Year", {}}};
  const char* makers[] = {"Alfa", "Bmw", "Citroen", "Dacia"};
  for (int i = 0; i < 60; ++i) {
    cols[0].cells.push_back(std::to_string(900 + (i * 37) % 900));
    cols[1].cells.push_back(std::to_string(50 + (i * 53) % 200));
    cols[2].cells.push_back(std::to_string(8000 + (i * 977) % 30000));
    cols[3].cells.push_back(makers[i % 4]);
    cols[4].cells.push_back(std::to_string(1990 + i % 20));
  }
  load(cols);
  test::buildCategories(*state->data, 3);
  const char* folder = std::getenv("VLM_SCREENSHOTS");
  for (int type : {1, 2, 3, 4}) {
    buildDefaultModel(*state, type);
    draw();
    EXPECT_GT(state->model->associations.count, 1) << "type " << type;
    int lit = 0;
    for (size_t i = 0; i < capture->pixels.size(); i += 4)
      if (capture->pixels[i] + capture->pixels[i + 1] + capture->pixels[i + 2] > 60) ++lit;
    EXPECT_GT(lit, 1000) << "type " << type << " drew something";
    if (folder) capture->save(std::string(folder) + "/builder" + std::to_string(type) + ".png");
  }
}

}  // namespace
}  // namespace vlm
