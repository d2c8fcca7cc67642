// The pick read from llvmpipe's GL_SELECT: drawn content under names, the
// legend's rectangles, the axis pass and the button handlers that use it.
#include <GL/gl.h>

#include <gtest/gtest.h>

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/input/interaction_hooks.h"
#include "engine/input/mouse_event.h"
#include "engine/picking/pick.h"
#include "engine/picking/pick_sources.h"
#include "engine/render/render_commands.h"
#include "platform/command_queue.h"
#include "support/render_support.h"

namespace vlm {
namespace {

// A square of side 2s at depth z in the plane facing the camera.
void square(float cx, float cy, float z, float s) {
  glBegin(GL_QUADS);
  glVertex3f(cx - s, cy - s, z);
  glVertex3f(cx + s, cy - s, z);
  glVertex3f(cx + s, cy + s, z);
  glVertex3f(cx - s, cy + s, z);
  glEnd();
}

class Picking : public ::testing::Test {
 protected:
  void SetUp() override {
    registerAllHandlers();
    saved = pickSources();
    state = test::makeRenderState();
    ViewState& v = state->view->view;
    v.cameraTranslation[0] = 0, v.cameraTranslation[1] = 0, v.cameraTranslation[2] = -100;
    capture = test::openView(*state, host);
    ASSERT_TRUE(capture) << "no context under Xvfb";
    state->data->rowCount = 10;
    state->main->selectionBuffer.assign(4 * 500 + 100, 0);
    // Pixel size at depth 0: 2 x 100 x tan(25 degrees) over the 200 rows.
    pixel = 2.0f * 100.0f * 0.46630766f / 200.0f;
  }
  void TearDown() override {
    pickSources() = saved;
    test::closeView(*state);
  }
  void objectsDraw(std::function<void()> objects, std::function<void()> axes = {}) {
    pickSources().drawPass = [objects, axes](EngineState&, PickPass pass) {
      if (pass == PickPass::Objects && objects) objects();
      if (pass == PickPass::Axes && axes) axes();
    };
  }
  static platform::Command mouse(int32_t number, int x, int y, int flags) {
    platform::Command c;
    c.number = number;
    c.wParam = static_cast<uintptr_t>(flags);
    c.lParam = packMousePosition(x, y);
    return c;
  }

  PickSources saved;
  test::ViewHost host;
  std::shared_ptr<EngineState> state;
  std::shared_ptr<test::CaptureContent> capture;
  float pixel = 0.5f;
};

TEST_F(Picking, TwoObjectsAtOneDepthTheFirstDrawnWins) {
  objectsDraw([] {
    glLoadName(5);
    square(0, 0, 0, 5);
    glLoadName(7);
    square(0, 0, 0, 5);
  });
  EXPECT_EQ(pickAt(*state, 100, 100), 5);
  objectsDraw([] {
    glLoadName(7);
    square(0, 0, 0, 5);
    glLoadName(5);
    square(0, 0, 0, 5);
  });
  EXPECT_EQ(pickAt(*state, 100, 100), 7);
}

TEST_F(Picking, TheNearerObjectWins) {
  objectsDraw([] {
    glLoadName(2);
    square(0, 0, -10, 5);
    glLoadName(3);
    square(0, 0, 10, 5);
  });
  EXPECT_EQ(pickAt(*state, 100, 100), 3);
}

TEST_F(Picking, ObjectsDrawnInImmediateModeCarryTheirIndex) {
  pickSources() = saved;  // the default pass: the objects of the model
  test::setSingleObject(*state, 6, 20, 20, 20, 1.0f, 0.0f, 0.0f);
  state->data->rowCount = 1;
  EXPECT_EQ(pickAt(*state, 100, 100), 0);
  EXPECT_EQ(pickAt(*state, 2, 2), -1);
  state->model->selectionFlags[0] = 0;  // an unselected object is not drawn, so not picked
  EXPECT_EQ(pickAt(*state, 100, 100), -1);
}

TEST_F(Picking, AnObjectWhoseOriginIsAwayButWhoseShapeReachesTheCursorIsHit) {
  pickSources() = saved;
  test::setSingleObject(*state, 6, 80, 80, 20, 1.0f, 0.0f, 0.0f);
  state->model->objects[0].x = -30.0f;
  state->model->objects[0].y = -30.0f;
  state->data->rowCount = 1;
  EXPECT_EQ(pickAt(*state, 100, 100), 0) << "the pick's culling must keep it";
  state->model->objects[0].x = 300.0f;
  state->model->objects[0].width = state->model->objects[0].depth = 5.0f;
  EXPECT_EQ(pickAt(*state, 100, 100), -1);
}

TEST_F(Picking, ALegendBorderCountsAndComesFirst) {
  objectsDraw([] {
    glLoadName(4);
    square(0, 0, 0, 50);
  });
  state->view->view.legendOn = true;
  pickSources().legendRects = [](EngineState&) {
    return std::vector<PickRect>{{10, 50, 40, 20, 2000000105}, {0, 200, 200, 0, 2000000106}};
  };
  // y upwards in the overlay: top 50 is window row 150, bottom 20 is row 180.
  EXPECT_EQ(pickAt(*state, 10, 150), 2000000105);
  EXPECT_EQ(pickAt(*state, 40, 180), 2000000105);
  EXPECT_EQ(pickAt(*state, 25, 165), 2000000105);
  // Outside the first the second (the whole view) holds the point.
  EXPECT_EQ(pickAt(*state, 41, 165), 2000000106);
  state->view->view.legendOn = false;
  EXPECT_EQ(pickAt(*state, 25, 165), 4) << "without the legend the object is hit";
}

TEST_F(Picking, OnADoubledDisplayTheLegendIsPickedInWindowPixels) {
  // 200 x 200 device pixels at a device-pixel ratio of 2: a 100 x 100 overlay.
  state->view->view.devicePixelRatio = 2.0f;
  state->view->view.legendOn = true;
  pickSources().legendRects = [](EngineState&) { return std::vector<PickRect>{{10, 50, 40, 20, 2000000105}}; };
  // Overlay (10..40, 20..50 up) is device columns 20..80 and rows 100..160.
  EXPECT_EQ(pickAt(*state, 50, 130), 2000000105);
  EXPECT_EQ(pickAt(*state, 21, 101), 2000000105);
  EXPECT_NE(pickAt(*state, 25, 165), 2000000105) << "the rectangle in device pixels would hold this one";
  EXPECT_NE(pickAt(*state, 90, 130), 2000000105);
}

TEST_F(Picking, OnlyTheFirstContainingRectangleIsExamined) {
  objectsDraw([] {
    glLoadName(4);
    square(0, 0, 0, 50);
  });
  state->view->view.legendOn = true;
  pickSources().legendRects = [](EngineState&) {
    return std::vector<PickRect>{{0, 200, 200, 0, 0}, {0, 200, 200, 0, 2000000106}};
  };
  EXPECT_EQ(pickAt(*state, 100, 100), 4) << "a rectangle named 0 gives no legend result";
  pickSources().legendRects = [](EngineState&) { return std::vector<PickRect>{{0, 200, 200, 0, 2001000000}}; };
  EXPECT_EQ(pickAt(*state, 100, 100), 4);
}

TEST_F(Picking, BesideTheObjectsNearAnAxisGivesTheAxisName) {
  const float px = pixel;
  auto axisLine = [px](int32_t name) {
    return [px, name] {
      glLoadName(static_cast<GLuint>(name));
      glBegin(GL_LINES);
      glVertex3f(3.0f * px, -50.0f, 0.0f);  // 3 pixels right of the centre
      glVertex3f(3.0f * px, 50.0f, 0.0f);
      glEnd();
    };
  };
  objectsDraw(axisLine(9), axisLine(2000000011));
  EXPECT_EQ(pickAt(*state, 100, 100), 2000000011) << "the 3 x 3 object pass misses the line";
  objectsDraw({}, axisLine(2000000011));
  EXPECT_EQ(pickAt(*state, 100, 100), 2000000011);
  EXPECT_EQ(pickAt(*state, 150, 100), -1) << "too far for the 8 x 8 window";
  objectsDraw({}, axisLine(2000000250));
  EXPECT_EQ(pickAt(*state, 100, 100), -1) << "2000000200 and above from the axis pass is nothing";
  objectsDraw({}, axisLine(2000000200));
  EXPECT_EQ(pickAt(*state, 100, 100), -1);
}

TEST_F(Picking, WithoutASelectionBufferNothingIsPicked) {
  objectsDraw([] {
    glLoadName(4);
    square(0, 0, 0, 50);
  });
  state->main->selectionBuffer.clear();
  EXPECT_EQ(pickAt(*state, 100, 100), -1);
}

TEST_F(Picking, AnOverflowingBufferStillGivesTheNearestCompleteRecord) {
  state->data->rowCount = 0;
  state->main->selectionBuffer.assign(100, 0);  // room for 25 records of one name
  objectsDraw([] {
    for (GLuint i = 0; i < 60; ++i) {
      glLoadName(i);
      square(0, 0, i == 3 ? 20.0f : 0.0f, 5);
    }
  });
  int hits = 0;
  EXPECT_EQ(pickPass(*state, 100, 100, 3, static_cast<int>(PickPass::Objects), &hits), 3);
  EXPECT_EQ(hits, -1);
}

TEST_F(Picking, ClickingASampleTwiceShowsThenHidesItsPanel) {
  objectsDraw([] {
    glLoadName(6);
    square(0, 0, 0, 10);
  });
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_LEFT_BUTTON));
  EXPECT_EQ(state->main->input.lastPickedName, 6);
  onButtonUp(*state, mouse(CMD_BUTTON_UP, 100, 100, MK_LEFT_BUTTON));
  EXPECT_EQ(state->main->input.infoPanelOn, 1);
  EXPECT_EQ(state->main->input.highlightedObject, 6);
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_LEFT_BUTTON));
  onButtonUp(*state, mouse(CMD_BUTTON_UP, 100, 100, MK_LEFT_BUTTON));
  EXPECT_EQ(state->main->input.infoPanelOn, 0);
  EXPECT_EQ(state->main->input.highlightedObject, -1);
}

TEST_F(Picking, ACtrlClickOnASampleTogglesItsSelectionAndHidesItsPanel) {
  objectsDraw([] {
    glLoadName(6);
    square(0, 0, 0, 10);
  });
  state->model->selectionFlags.assign(500, 1);
  state->model->selectedCount = 10;
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_LEFT_BUTTON));
  onButtonUp(*state, mouse(CMD_BUTTON_UP, 100, 100, MK_LEFT_BUTTON));
  ASSERT_EQ(state->main->input.highlightedObject, 6);
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_LEFT_BUTTON | MK_CTRL_KEY));
  onButtonUp(*state, mouse(CMD_BUTTON_UP, 100, 100, MK_LEFT_BUTTON | MK_CTRL_KEY));
  EXPECT_EQ(state->model->selectionFlags[6], 0);
  EXPECT_EQ(state->model->selectedCount.load(), 9);
  EXPECT_EQ(state->main->input.selectedObjectType.load(), 1);
  EXPECT_EQ(state->main->input.infoPanelOn, 0) << "the object is no longer drawn";
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_LEFT_BUTTON | MK_CTRL_KEY));
  onButtonUp(*state, mouse(CMD_BUTTON_UP, 100, 100, MK_LEFT_BUTTON | MK_CTRL_KEY));
  EXPECT_EQ(state->model->selectionFlags[6], 1);
  EXPECT_EQ(state->model->selectedCount.load(), 10);
  EXPECT_EQ(state->main->input.infoPanelOn, 0) << "a Ctrl click leaves the panel alone otherwise";
}

TEST_F(Picking, PressOnALegendItemTakesItsAttribute) {
  objectsDraw({});
  state->view->view.legendOn = true;
  pickSources().legendRects = [](EngineState&) { return std::vector<PickRect>{{0, 200, 200, 0, 2000000101}}; };
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 50, 50, MK_LEFT_BUTTON));
  const InputState& in = state->main->input;
  EXPECT_EQ(in.selectedObjectType.load(), 2);
  EXPECT_EQ(in.selectedObjectIndex.load(), 1);
  EXPECT_EQ(in.actionMode, 14);
}

TEST_F(Picking, PressOnTheWaterLevelStartsItsDrag) {
  objectsDraw([] {
    glLoadName(2000000000u);
    square(0, 0, 0, 50);
  });
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_LEFT_BUTTON));
  EXPECT_EQ(state->main->input.actionMode, 13);
  EXPECT_EQ(static_cast<int32_t>(state->view->view.waterLevelState), 10);
  onButtonUp(*state, mouse(CMD_BUTTON_UP, 100, 100, MK_LEFT_BUTTON));
  EXPECT_EQ(static_cast<int32_t>(state->view->view.waterLevelState), 1);
  EXPECT_EQ(state->main->input.actionMode, 0);
}

}  // namespace
}  // namespace vlm
