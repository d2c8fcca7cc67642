// Navigation math and the mouse, wheel and key handlers (no context needed:
// without one the frame draws nothing).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "engine/camera/navigation.h"
#include "engine/commands/command_ids.h"
#include "engine/input/interaction_hooks.h"
#include "engine/input/mouse_event.h"
#include "engine/input/virtual_keys.h"
#include "engine/host_messages.h"
#include "engine/render/render_commands.h"
#include "platform/command_queue.h"
#include "platform/host_bridge.h"
#include "support/render_support.h"

#include <QCoreApplication>
#include <QObject>

namespace vlm {
namespace {

platform::Command mouse(int32_t number, int x, int y, int flags) {
  platform::Command c;
  c.number = number;
  c.wParam = static_cast<uintptr_t>(flags);
  c.lParam = packMousePosition(x, y);
  return c;
}

platform::Command key(int32_t number, int vk) {
  platform::Command c;
  c.number = number;
  c.wParam = static_cast<uintptr_t>(vk);
  return c;
}

class Navigation : public ::testing::Test {
 protected:
  std::shared_ptr<EngineState> state = test::makeRenderState();
  ViewState& view() { return state->view->view; }
  InputState& input() { return state->main->input; }
};

TEST(NavigationResponse, FollowsThePowerCurve) {
  EXPECT_EQ(navigationResponse(0.0f), 0.0f);
  EXPECT_NEAR(navigationResponse(2.0f), std::pow(0.8, 1.3), 1e-5);
  EXPECT_NEAR(navigationResponse(-10.0f), -std::pow(4.0, 1.3), 1e-4);
  EXPECT_NEAR(navigationSpeedFor(10), std::pow(250.0, 0.125), 1e-5);
  EXPECT_NEAR(navigationSpeedFor(1 << 16), 4.0, 1e-5);
}

TEST_F(Navigation, PageUpAndEndZoomByAFixedStep) {
  const float z = view().cameraTranslation[2];
  onKeyDown(*state, key(CMD_KEY_DOWN, VK_KEY_PRIOR));
  EXPECT_NEAR(view().cameraTranslation[2] - z, -0.224f, 0.001f);
  onKeyDown(*state, key(CMD_KEY_DOWN, VK_KEY_END));
  EXPECT_NEAR(view().cameraTranslation[2], z, 1e-4);
  EXPECT_EQ(input().navigationMode, 3);
  // Page Down (and keypad 3) moves back as End does.
  onKeyDown(*state, key(CMD_KEY_DOWN, VK_KEY_NEXT));
  EXPECT_NEAR(view().cameraTranslation[2] - z, 0.224f, 0.001f);
  onKeyDown(*state, key(CMD_KEY_DOWN, VK_KEY_NUMPAD3));
  EXPECT_NEAR(view().cameraTranslation[2] - z, 2 * 0.224f, 0.002f);
}

TEST_F(Navigation, DeleteAndEscapeRemoveTheCurrentAssociationUnderTheDataLock) {
  const auto installed = interactionHooks().deleteField;
  int calls = 0;
  bool locked = true;
  interactionHooks().deleteField = [&](EngineState& s) {
    ++calls;
    locked = locked && s.main->dataLock.heldByCurrentThread();
  };
  test::drainEngineQueue(*state);
  onKeyDown(*state, key(CMD_KEY_DOWN, VK_KEY_DELETE));
  onKeyDown(*state, key(CMD_KEY_DOWN, VK_KEY_ESCAPE));
  interactionHooks().deleteField = installed;
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(locked) << "the association goes under the data lock";
  EXPECT_TRUE(state->main->dataLock.isFree());
  EXPECT_EQ(test::drainEngineQueue(*state), (std::vector<int32_t>{CMD_UPDATE_MODEL, CMD_UPDATE_MODEL}));
}

// The HM_BUSY messages the input handlers post, as the host would receive them.
struct BusyRecorder : QObject {
  BusyRecorder() {
    previous = platform::HostBridge::instance().hostWindow();
    platform::HostBridge::instance().attach(this);
  }
  ~BusyRecorder() override {
    platform::HostBridge::instance().detach();
    if (previous) platform::HostBridge::instance().attach(previous);
  }
  bool event(QEvent* e) override {
    if (e->type() != platform::HostMessageEvent::eventType()) return QObject::event(e);
    const auto& d = static_cast<platform::HostMessageEvent*>(e)->data;
    if (d.message == HM_BUSY) busy.push_back(static_cast<int>(d.wParam));
    return true;
  }
  std::vector<int> take() {
    QCoreApplication::processEvents();
    std::vector<int> out;
    out.swap(busy);
    return out;
  }
  std::vector<int> busy;
  QObject* previous = nullptr;
};

TEST_F(Navigation, OnlyStoppingASpinTellsTheHostItIsIdle) {
  BusyRecorder host;
  // A click on nothing while a load runs: no spin to stop, the host stays busy.
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 10, 10, MK_LEFT_BUTTON));
  onButtonUp(*state, mouse(CMD_BUTTON_UP, 10, 10, MK_LEFT_BUTTON));
  EXPECT_TRUE(host.take().empty());
  // A flick released at once spins (busy) and the next click stops it (idle).
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_RIGHT_BUTTON));
  onMouseMove(*state, mouse(CMD_MOUSE_MOVE, 120, 100, MK_RIGHT_BUTTON));
  onButtonUp(*state, mouse(CMD_BUTTON_UP, 120, 100, MK_RIGHT_BUTTON));
  EXPECT_EQ(host.take(), std::vector<int>{1});
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 10, 10, MK_LEFT_BUTTON));
  EXPECT_EQ(host.take(), std::vector<int>{0});
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 10, 10, MK_LEFT_BUTTON));
  EXPECT_TRUE(host.take().empty()) << "stopped once";
}

TEST_F(Navigation, ArrowKeysRotateAndPanWithShift) {
  onKeyDown(*state, key(CMD_KEY_DOWN, VK_KEY_LEFT));
  EXPECT_NEAR(view().rotation[2], -0.15f * navigationResponse(10.0f), 1e-5);
  const float x = view().cameraTranslation[0];
  onKeyDown(*state, key(CMD_KEY_DOWN, VK_KEY_SHIFT));
  onKeyDown(*state, key(CMD_KEY_DOWN, VK_KEY_RIGHT));
  EXPECT_EQ(input().navigationMode, 1);
  EXPECT_NEAR(view().cameraTranslation[0] - x, -(1.0f / 15.0f) * navigationResponse(-10.0f), 1e-5);
  onKeyUp(*state, key(CMD_KEY_UP, VK_KEY_SHIFT));
  EXPECT_FALSE(input().shiftDown);
}

TEST_F(Navigation, AFlickWithAQuickReleaseSpinsAtHalfTheLastStep) {
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_RIGHT_BUTTON));
  onMouseMove(*state, mouse(CMD_MOUSE_MOVE, 110, 100, MK_RIGHT_BUTTON));
  onMouseMove(*state, mouse(CMD_MOUSE_MOVE, 120, 104, MK_RIGHT_BUTTON));
  EXPECT_EQ(input().navigationMode, 2);
  ASSERT_EQ(input().animationOn.load(), 1);
  const float stepZ = -0.15f * navigationResponse(-10.0f), stepX = -0.15f * navigationResponse(-4.0f);
  EXPECT_NEAR(input().spinIncrement[2].load(), stepZ / 2, 1e-5);
  EXPECT_NEAR(input().spinIncrement[0].load(), stepX / 2, 1e-5);
  test::drainEngineQueue(*state);
  onButtonUp(*state, mouse(CMD_BUTTON_UP, 120, 104, MK_RIGHT_BUTTON));
  const auto queued = test::drainEngineQueue(*state);
  ASSERT_EQ(queued.size(), 1u);
  EXPECT_EQ(queued[0], CMD_ANIMATE);
  const float rx = view().rotation[0], rz = view().rotation[2];
  onAnimate(*state, platform::Command{CMD_ANIMATE});
  EXPECT_NEAR(view().rotation[2] - rz, stepZ / 2, 1e-5);
  EXPECT_NEAR(view().rotation[0] - rx, stepX / 2, 1e-5);
  EXPECT_EQ(test::drainEngineQueue(*state), std::vector<int32_t>{CMD_ANIMATE}) << "the step posts the next";
}

TEST_F(Navigation, ASlowReleaseStaysStill) {
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_RIGHT_BUTTON));
  onMouseMove(*state, mouse(CMD_MOUSE_MOVE, 120, 100, MK_RIGHT_BUTTON));
  ASSERT_EQ(input().animationOn.load(), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  test::drainEngineQueue(*state);
  onButtonUp(*state, mouse(CMD_BUTTON_UP, 120, 100, MK_RIGHT_BUTTON));
  EXPECT_TRUE(test::drainEngineQueue(*state).empty());
}

TEST_F(Navigation, ASmallRotationDoesNotSpin) {
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_RIGHT_BUTTON));
  onMouseMove(*state, mouse(CMD_MOUSE_MOVE, 102, 101, MK_RIGHT_BUTTON));
  EXPECT_EQ(input().animationOn.load(), 0);
  EXPECT_EQ(input().spinIncrement[2].load(), 0.0f);
}

TEST_F(Navigation, AMoveWithoutAButtonOnlyMovesTheCurrentPosition) {
  input().infoPanelOn = 1;
  input().previousX = 5, input().previousY = 6;
  const float cam[3] = {view().cameraTranslation[0], view().cameraTranslation[1], view().cameraTranslation[2]};
  onMouseMove(*state, mouse(CMD_MOUSE_MOVE, 50, 60, 0));
  EXPECT_EQ(input().currentX.load(), 50);
  EXPECT_EQ(input().currentY.load(), 60);
  EXPECT_EQ(input().previousX, 5);
  EXPECT_EQ(input().previousY, 6);
  EXPECT_EQ(input().infoPanelOn, 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(view().cameraTranslation[i], cam[i]);
  EXPECT_EQ(view().rotation[0], 0.0f);
}

TEST_F(Navigation, LeftDragPansAndMiddleDragZooms) {
  view().navigationSpeed = 1.5f;
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_LEFT_BUTTON));
  onMouseMove(*state, mouse(CMD_MOUSE_MOVE, 90, 110, MK_LEFT_BUTTON));
  EXPECT_EQ(input().navigationMode, 1);
  EXPECT_NEAR(view().cameraTranslation[0], -(1.5f / 15) * navigationResponse(10), 1e-5);
  EXPECT_NEAR(view().cameraTranslation[1], -10.0f + (1.5f / 15) * navigationResponse(-10), 1e-5);
  onButtonUp(*state, mouse(CMD_BUTTON_UP, 90, 110, MK_LEFT_BUTTON));
  const float z = view().cameraTranslation[2];
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 100, 100, MK_MIDDLE_BUTTON));
  onMouseMove(*state, mouse(CMD_MOUSE_MOVE, 100, 90, MK_MIDDLE_BUTTON));
  EXPECT_EQ(input().navigationMode, 3);
  EXPECT_NEAR(view().cameraTranslation[2] - z, -0.3f * navigationResponse(10), 1e-5);
}

TEST_F(Navigation, TheWheelZoomsByTheSpeed) {
  const float z = view().cameraTranslation[2];
  platform::Command w;
  w.number = CMD_MOUSE_WHEEL;
  w.wParam = static_cast<uintptr_t>(uint32_t(120) << 16);
  onMouseWheel(*state, w);
  EXPECT_EQ(input().wheelDelta, 120);
  EXPECT_NEAR(view().cameraTranslation[2] - z, -(1.0f / 15) * 0.2f * navigationResponse(120), 1e-4);
  w.wParam = static_cast<uintptr_t>(uint32_t(uint16_t(-120)) << 16);
  onMouseWheel(*state, w);
  EXPECT_NEAR(view().cameraTranslation[2], z, 1e-4);
}

TEST_F(Navigation, TheRollSpringsBack) {
  view().rotation[1] = 10.0f;
  input().navigationMode = 0;
  onUpdateView(*state, platform::Command{CMD_UPDATE_VIEW});
  EXPECT_FLOAT_EQ(view().rotation[1], 9.0f);
  view().rotation[1] = 0.52f;
  onUpdateView(*state, platform::Command{CMD_UPDATE_VIEW});
  EXPECT_EQ(view().rotation[1], 0.0f);
}

TEST_F(Navigation, DraggingTheWaterLevelMovesItUpAndDown) {
  view().waterLevelState = 10;
  input().previousY = 100;
  input().currentY = 80;
  onUpdateView(*state, platform::Command{CMD_UPDATE_VIEW});
  EXPECT_FLOAT_EQ(view().waterLevelPosition[2], 5.0f + 20 * 0.25f);
}

TEST_F(Navigation, ASecondAnimationStartKeepsOneStepQueued) {
  setAnimation(*state, 1);
  setAnimation(*state, 1);
  EXPECT_EQ(test::drainEngineQueue(*state), std::vector<int32_t>{CMD_ANIMATE});
  onAnimate(*state, platform::Command{CMD_ANIMATE});
  setAnimation(*state, 1);
  EXPECT_EQ(test::drainEngineQueue(*state), std::vector<int32_t>{CMD_ANIMATE});
  setAnimation(*state, 0);
  onAnimate(*state, platform::Command{CMD_ANIMATE});
  EXPECT_TRUE(test::drainEngineQueue(*state).empty()) << "the chain ends once animation is off";
  input().animationAllowed = 0;
  setAnimation(*state, 1);
  EXPECT_EQ(input().animationOn.load(), 0);
}

TEST_F(Navigation, TheSpinWrapsIntoAFullTurn) {
  view().rotation[0] = 359.0f;
  input().spinIncrement[0] = 2.0f;
  input().animationOn = 0;
  onAnimate(*state, platform::Command{CMD_ANIMATE});
  EXPECT_FLOAT_EQ(view().rotation[0], 1.0f);
}

TEST_F(Navigation, HomeRestoresTheInitialPosition) {
  EXPECT_EQ(getInitPosition(*state), 0);
  EXPECT_EQ(view().rotation[0], -70.0f);
  view().cameraTranslation[2] = -321.0f;
  view().rotation[2] = 33.0f;
  setInitPosition(*state);
  view().cameraTranslation[2] = 0.0f;
  view().rotation[2] = 0.0f;
  onKeyDown(*state, key(CMD_KEY_DOWN, VK_KEY_HOME));
  EXPECT_EQ(view().cameraTranslation[2], -321.0f);
  EXPECT_EQ(view().rotation[2], 33.0f);
}

TEST_F(Navigation, FieldOfViewSetsTheSceneScale) {
  setFieldOfView(*state, 80.0f);
  EXPECT_FLOAT_EQ(getFieldOfView(*state), 80.0f);
  EXPECT_FLOAT_EQ(view().sceneScale, 2.0f);
}

TEST_F(Navigation, CameraResetsFromTheDataExtents) {
  resetCameraPosition(*state);
  EXPECT_EQ(view().rotation[0], -70.0f);
  resetModelPosition(*state);
  EXPECT_EQ(view().cameraTranslation[1], -10.0f);
  EXPECT_EQ(view().cameraTranslation[2], -200.0f);
  state->data->rowCount = 2;
  // The extents come from whichever layer installed the hook (the scene, once
  // its handlers are registered in this process); fix them for the formula.
  const auto installed = interactionHooks().dataExtents;
  interactionHooks().dataExtents = [](EngineState&, float e[6]) {
    const float extents[6] = {-50, 50, 0, 0, 0, 40};
    std::copy(extents, extents + 6, e);
    return true;
  };
  state->main->settings.centerMass = true;
  resetModelPosition(*state);  // E 100, T 40
  EXPECT_FLOAT_EQ(view().cameraTranslation[1], -0.2f * 100);
  EXPECT_FLOAT_EQ(view().cameraTranslation[2], -2.0025f * 100);
  state->main->settings.centerMass = false;
  resetModelPosition(*state);
  EXPECT_FLOAT_EQ(view().cameraTranslation[0], -0.25f * 50);
  EXPECT_FLOAT_EQ(view().cameraTranslation[2], -3.25f * 100);
  interactionHooks().dataExtents = installed;
}

TEST_F(Navigation, ViewPresetsTurnToTheAxes) {
  platform::Command c;
  c.number = CMD_DO_THIS;
  c.wParam = 2000000013;
  c.lParam = 1;
  onDoThis(*state, c);
  EXPECT_EQ(view().rotation[0], -90.0f);
  EXPECT_EQ(view().rotation[2], -90.0f);
  EXPECT_EQ(test::drainEngineQueue(*state), std::vector<int32_t>{CMD_DRAW_SCENE});
  c.wParam = 2000000015;
  c.lParam = 2;
  onDoThis(*state, c);
  EXPECT_EQ(view().rotation[0], -90.0f);
  EXPECT_EQ(view().rotation[2], 0.0f);
  c.wParam = 0;  // from the current attribute: X axis
  c.lParam = 2;
  onDoThis(*state, c);
  EXPECT_EQ(view().rotation[0], 0.0f);
  EXPECT_EQ(view().rotation[2], -90.0f);
  test::drainEngineQueue(*state);
  auto& saved = state->model->associations.saved;
  saved[ATTRIB_AXISX].field = 1;
  saved[ATTRIB_AXISX].scale = 70.0f;
  c.lParam = 3;
  onDoThis(*state, c);
  EXPECT_EQ(saved[ATTRIB_AXISY].scale, 70.0f);
  EXPECT_EQ(saved[ATTRIB_AXISZ].scale, 70.0f);
  EXPECT_EQ(test::drainEngineQueue(*state), std::vector<int32_t>{CMD_UPDATE_MODEL});
}

TEST_F(Navigation, APressOnNothingStopsTheSpin) {
  input().animationOn = 1;
  input().spinIncrement[2] = 1.0f;
  onButtonDown(*state, mouse(CMD_BUTTON_DOWN, 10, 10, MK_LEFT_BUTTON));
  EXPECT_EQ(input().lastPickedName, -1);
  EXPECT_EQ(input().animationOn.load(), 0);
  EXPECT_EQ(input().spinIncrement[2].load(), 0.0f);
  EXPECT_TRUE(state->main->dataLock.isFree());
}

}  // namespace
}  // namespace vlm
