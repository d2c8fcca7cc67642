// The first view after a load, read back from llvmpipe: the default position
// shows the whole space with its axes and texts, and the axis titles are
// legible on both colour schemes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/camera/camera_fit.h"
#include "engine/commands/command_ids.h"
#include "engine/render/gl_setup.h"
#include "engine/render/render_commands.h"
#include "engine/scene/model_builders.h"
#include "engine/scene/scene_hooks.h"
#include "engine/scene/space_lists.h"
#include "model/color_schemes.h"
#include "platform/command_queue.h"
#include "scene/space/space_geometry.h"
#include "support/scene_support.h"
#include "support/table_loader.h"

namespace vlm {
namespace {

using Pixel = std::array<uint8_t, 4>;

int luminance(const Pixel& p) { return (p[0] * 30 + p[1] * 59 + p[2] * 11) / 100; }

// The cars sample shipped with the program, as its columns of texts.
std::vector<test::Column> carsSample() {
  const std::string path = std::string(VLM_SOURCE_ROOT) + "/assets/samples/cars.tsv";
  std::ifstream in(path);
  std::vector<test::Column> columns;
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> cells;
    std::stringstream split(line);
    std::string cell;
    while (std::getline(split, cell, '\t')) cells.push_back(cell);
    if (header) {
      for (const std::string& name : cells) columns.push_back({name, {}});
      header = false;
      continue;
    }
    for (size_t i = 0; i < columns.size(); ++i) columns[i].cells.push_back(i < cells.size() ? cells[i] : "");
  }
  return columns;
}

class FirstView : public ::testing::Test {
 protected:
  void SetUp() override {
    state = test::makeRenderState();
    installSceneInteractionHooks();  // the camera reset fits the space through them
    capture = test::openSceneView(*state, host);
    ASSERT_TRUE(capture) << "no context under Xvfb";
    const auto columns = carsSample();
    ASSERT_EQ(columns.size(), 9u) << "the cars sample";
    test::loadTable(*state, columns);
    for (int32_t f = 0; f < state->data->fieldCount; ++f)
      if (state->data->fields[static_cast<size_t>(f)].type == FT_TEXT) test::buildCategories(*state->data, f);
    test::selectAll(*state);
  }
  void TearDown() override {
    if (const char* folder = std::getenv("VLM_SCREENSHOTS"))
      capture->save(std::string(folder) + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png");
    test::closeView(*state);
  }
  void draw() { test::drawScene(*state); }
  void scheme(int which) {
    applyDefaultColorScheme(state->view->space, which);
    render::applyClearColour(*state);
    for (auto& flag : state->view->view.cacheValid) flag = false;
  }
  scene::SpaceGeometry geometry() { return scene::buildSpaceGeometry(spaceInputOf(*state)); }

  test::ViewHost host{640, 480};
  std::shared_ptr<EngineState> state;
  std::shared_ptr<test::SceneCapture> capture;
};

TEST_F(FirstView, TheDefaultPositionShowsTheWholeSpace) {
  for (int type : {MODEL_SCATTER, MODEL_BARS, MODEL_TILES}) {
    buildDefaultModel(*state, type);
    draw();
    const scene::SpaceGeometry g = geometry();
    ASSERT_FALSE(g.lattices.empty()) << "type " << type;
    const int w = capture->width, h = capture->height;
    auto inside = [&](const scene::Vec3& p, const char* what) {
      const auto at = test::project(*state, p[0], p[1], p[2]);
      EXPECT_TRUE(at[0] >= 0 && at[0] < w && at[1] >= 0 && at[1] < h)
          << "type " << type << ": " << what << " at " << at[0] << "," << at[1];
    };
    for (const scene::LatticeLines& l : g.lattices)
      for (const scene::Segment& s : l.lines) inside(s.a, "a lattice corner"), inside(s.b, "a lattice corner");
    for (const scene::AxisHalf& a : g.axes.halves) inside(a.tip, "an arrow head");
    for (const scene::SpaceText& t : g.texts) inside(t.position, t.title ? "an axis title" : "a lattice label");
  }
}

TEST_F(FirstView, AxisTitlesAreLegibleOnBothSchemes) {
  buildDefaultModel(*state, MODEL_SCATTER);
  for (int which : {2, 1}) {  // light, then dark
    scheme(which);
    draw();
    const bool light = which == 2;
    int titles = 0;
    for (const scene::SpaceText& t : geometry().texts) {
      if (!t.title || t.rightAligned) continue;
      ++titles;
      const auto at = test::project(*state, t.position[0], t.position[1], t.position[2]);
      // The title runs right from its anchor, one line high above the baseline.
      int ink = 0;
      for (int y = at[1] - 3; y <= at[1] + 12; ++y)
        for (int x = at[0]; x < at[0] + 7 * static_cast<int>(t.codes.size()); ++x) {
          const int l = luminance(capture->at(x, y));
          ink += light ? l < 110 : l > 145;
        }
      EXPECT_GT(ink, 4 * static_cast<int>(t.codes.size()))
          << (light ? "light" : "dark") << " scheme: \"" << t.codes << "\" is faint";
    }
    EXPECT_GE(titles, 3);
  }
}

}  // namespace
}  // namespace vlm
