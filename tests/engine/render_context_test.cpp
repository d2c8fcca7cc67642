// Context creation: stereo refused on llvmpipe, the context on its own thread.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <thread>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/render/context_lifecycle.h"
#include "model/space_settings_table.h"
#include "engine/render/render_commands.h"
#include "engine/render/render_context.h"
#include "platform/command_queue.h"
#include "platform/message_box.h"
#include "support/render_support.h"

namespace vlm {
namespace {


TEST(RenderContext, AStoredStereoThatCannotBeHadOpensInMonoAndIsTurnedOff) {
  test::ErrorRecorder errors;
  std::vector<platform::MessageBoxRequest> boxes;
  auto previous = platform::setMessageBoxHandler([&](const platform::MessageBoxRequest& r) {
    boxes.push_back(r);
    return int(platform::BOX_OK);
  });
  test::ViewHost host(120, 120);  // the host's window, made before the engine starts
  auto state = test::makeRenderState();
  state->view->view.stereo = 1;
  state->main->settings.stereoGridItem = 1;
  state->main->hostWindow = host.host.get();
  platform::Command open;
  open.number = CMD_OPEN_WINDOW;
  const bool opened = onOpenWindow(*state, open);
  platform::setMessageBoxHandler(previous);
  ASSERT_TRUE(opened) << "the view opens, in mono if need be: "
                      << (errors.texts().empty() ? std::string("no error") : errors.texts()[0]);
  if (state->view->view.render->context->format().stereo()) {
    onCloseWindow(*state, open);
    GTEST_SKIP() << "this display gives stereo";
  }
  EXPECT_TRUE(errors.texts().empty()) << "no format error at start: " << errors.texts()[0];
  ASSERT_EQ(boxes.size(), 1u) << "said once";
  EXPECT_EQ(boxes[0].caption, " Grid 3D STEREO Setting");
  EXPECT_NE(boxes[0].text.find("mono"), std::string::npos);
  EXPECT_EQ(state->view->view.stereo.load(), 0);
  EXPECT_EQ(state->main->settings.stereoGridItem, 0) << "stored off at the end of the run";
  onCloseWindow(*state, open);
  EXPECT_FALSE(state->view->view.render);
}

// Asked for stereo on a display without it, the re-made context is refused:
// the view is opened again in mono, the user is told, the setting is stored
// off, and the engine keeps drawing.
TEST(RenderContext, SwitchingStereoOnWithoutStereoKeepsDrawingInMono) {
  test::ErrorRecorder errors;
  std::vector<platform::MessageBoxRequest> boxes;
  auto previous = platform::setMessageBoxHandler([&](const platform::MessageBoxRequest& r) {
    boxes.push_back(r);
    return int(platform::BOX_OK);
  });
  test::ViewHost host(120, 120);
  auto state = test::makeRenderState();
  auto capture = test::openView(*state, host);
  ASSERT_TRUE(capture);
  state->main->settings.stereoGridItem = 1;
  state->view->space.rows[kRowStereo].value = 1;
  state->view->space.rows[0].rgba[0] = 0.0f;  // blue background
  state->view->space.rows[0].rgba[1] = 0.0f;
  state->view->space.rows[0].rgba[2] = 1.0f;
  test::drainEngineQueue(*state);
  platform::Command stereo;
  stereo.number = CMD_SET_STEREO;
  stereo.wParam = 1;
  EXPECT_TRUE(onSetStereo(*state, stereo)) << "the engine thread goes on";
  platform::setMessageBoxHandler(previous);
  ASSERT_TRUE(state->view->view.render) << "a context is left to draw with";
  if (state->view->view.render->context->format().stereo()) {
    onCloseWindow(*state, stereo);
    GTEST_SKIP() << "this display gives stereo";
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, " Grid 3D STEREO Setting");
  EXPECT_EQ(boxes[0].text, "This display cannot show 3D stereo. \nVelmora goes on drawing in mono.");
  EXPECT_TRUE(errors.texts().empty()) << "no format error: " << errors.texts()[0];
  EXPECT_EQ(state->view->view.stereo.load(), 0);
  EXPECT_EQ(state->main->settings.stereoGridItem, 0);
  EXPECT_EQ(state->view->space.rows[kRowStereo].value, 0);
  const std::vector<int32_t> queued = test::drainEngineQueue(*state);
  EXPECT_NE(std::find(queued.begin(), queued.end(), CMD_UPDATE_MODEL), queued.end()) << "the model is applied again";
  const int framesBefore = capture->frames;
  test::drawScene(*state);
  EXPECT_GT(capture->frames, framesBefore) << "the mono view draws";
  EXPECT_EQ(capture->at(5, 5)[2], 255) << "with the background of the space";
  onCloseWindow(*state, stereo);
}

TEST(RenderContext, LivesOnItsOwnThreadAndDrawsThere) {
  test::ViewHost host(100, 100);
  auto state = test::makeRenderState();
  state->view->space.rows[0].rgba[1] = 1.0f;  // green background
  state->main->hostWindow = host.host.get();
  auto capture = std::make_shared<test::CaptureContent>();
  render::setFrameContent(*state, capture);
  bool opened = false;
  std::thread engine([&] {
    platform::Command c;
    c.number = CMD_OPEN_WINDOW;
    opened = onOpenWindow(*state, c);
    if (!opened) return;
    c.number = CMD_RESIZE;
    c.wParam = 100;
    c.lParam = 100;
    onResize(*state, c);
    c.number = CMD_DRAW_SCENE;
    onDrawScene(*state, c);
    c.number = CMD_CLOSE_WINDOW;
    onCloseWindow(*state, c);
  });
  engine.join();
  ASSERT_TRUE(opened);
  EXPECT_EQ(capture->frames, 2);
  EXPECT_GT(capture->at(50, 50)[1], 250);
  EXPECT_FALSE(state->view->view.render);
}

}  // namespace
}  // namespace vlm
