// CMD_BUTTON_DOWN, CMD_BUTTON_UP and CMD_DOUBLE_CLICK.
#include <cstdlib>

#include "engine/camera/navigation.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/input/interaction_hooks.h"
#include "engine/input/mouse_event.h"
#include "engine/input/pick_names.h"
#include "engine/picking/selection_ops.h"
#include "engine/render/frame.h"
#include "engine/render/render_commands.h"
#include "engine/worker_thread.h"
#include "platform/clock.h"

namespace vlm {
namespace {

using namespace pick;

int32_t pickAt(EngineState& state, int x, int y) {
  const auto& f = interactionHooks().pick;
  return f ? f(state, x, y) : kNothing;
}

// Selected object type 2 with the current attribute and active field of the element.
void takeElement(EngineState& state, int32_t name) {
  InputState& in = state.main->input;
  in.selectedObjectType = 2;
  int32_t attribute = in.selectedObjectIndex, field = in.activeField;
  if (interactionHooks().elementInfo) interactionHooks().elementInfo(state, name, attribute, field);
  in.selectedObjectIndex = attribute;
  in.activeField = field;
}

void startSliderDrag(EngineState& state, int32_t name, int32_t mode, int x) {
  const int32_t type = state.main->input.selectedObjectType;
  takeElement(state, name);
  state.main->input.selectedObjectType = type;  // only the attribute and field are taken
  state.main->input.actionMode = mode;
  state.main->input.dragOrigin = x;
}

int32_t sliderMode(int32_t name) {
  if (name == kSliderMinimum) return 16;
  if (name == kSliderMaximum) return 17;
  return 15;
}

void startColourDrag(EngineState& state, int32_t name) {
  InputState& in = state.main->input;
  if (inRange(name, kColourScaleFirst, kColourScaleLast)) {
    in.actionMode = 19;
  } else {
    in.actionMode = 20;
    in.colourStopIndex = name - kColourStopFirst;
  }
  in.selectedObjectType = 2;
  in.selectedObjectIndex = ATTRIB_COLOR;
}

void toggleTree(EngineState& state, int32_t name) {
  const auto& f = interactionHooks().toggleTreeNode;
  if (f && f(state, name)) render::drawFrame(state);
}

void runHook(const std::function<void(EngineState&)>& f, EngineState& state) {
  if (f) f(state);
}

void showMenu(EngineState& state, int32_t name) {
  sendHost(state, HM_SHOW_FLOATING_MENU, static_cast<uintptr_t>(static_cast<uint32_t>(name)), 0);
}

void leftDown(EngineState& state, int32_t name, int x) {
  InputState& in = state.main->input;
  if (isSample(name)) {
    if (interactionHooks().sampleClicked) interactionHooks().sampleClicked(state, name);
    in.selectedObjectType = 0;
    in.actionMode = 0;
    stopAnimation(state);
  } else if (name == kWaterLevel) {
    state.view->view.waterLevelState = 10;
    in.actionMode = 13;
    in.selectedObjectType = 0;
  } else if (inRange(name, kElementFirst, kElementLast)) {
    takeElement(state, name);
    in.actionMode = 14;
    render::drawFrame(state);
  } else if (name == kPlusButton) {
    runHook(interactionHooks().rotateField, state);
    postEngine(state, CMD_UPDATE_MODEL, 0);
  } else if (name == kMinusButton) {
    runHook(interactionHooks().deleteField, state);
    postEngine(state, CMD_UPDATE_MODEL, 0);
  } else if (name == kSliderScale || name == kSliderMinimum || name == kSliderMaximum) {
    startSliderDrag(state, name, sliderMode(name), x);
  } else if (inRange(name, kColourScaleFirst, kColourStopLast)) {
    startColourDrag(state, name);
  } else if (inRange(name, kTreeFirst, kTreeLast)) {
    toggleTree(state, name);
  } else {
    stopAnimation(state);
    in.actionMode = 0;
  }
}

void rightDown(EngineState& state, int32_t name, int x) {
  InputState& in = state.main->input;
  if (name < 2000000100) in.rightClickObject = name;
  in.actionMode = 0;
  if (inRange(name, kElementFirst, kElementLast)) {
    takeElement(state, name);
    in.actionMode = 14;
  } else if (name == kPlusButton || name == kMinusButton || name == kSliderScale) {
    startSliderDrag(state, name, 15, x);
  } else if (name == kSliderMinimum || name == kSliderMaximum) {
    startSliderDrag(state, name, sliderMode(name), x);
  } else if (inRange(name, kColourScaleFirst, kColourStopLast)) {
    startColourDrag(state, name);
  } else if (inRange(name, kTreeFirst, kTreeLast)) {
    toggleTree(state, name);
  } else {
    stopAnimation(state);
    in.selectedObjectType = 0;
    in.actionMode = 0;
  }
}

}  // namespace

void onButtonDown(EngineState& state, const platform::Command& command) {
  const MouseEvent e = mouseEventOf(command);
  InputState& in = state.main->input;
  in.buttonFlags = e.flags;
  in.currentX = e.x;
  in.currentY = e.y;
  in.previousX = e.x;
  in.previousY = e.y;
  in.pressX = e.x;
  in.pressY = e.y;
  in.fixMouse = 0;
  platform::DataLockGuard lock(state.main->dataLock);
  ViewState& v = state.view->view;
  v.cacheValid[CACHE_LEGEND] = false;
  v.cacheValid[CACHE_DATABASE_TREE] = false;
  if (e.flags & MK_LEFT_BUTTON) {
    in.lastPickedName = pickAt(state, e.x, e.y);
    leftDown(state, in.lastPickedName, e.x);
  } else if (e.flags & MK_RIGHT_BUTTON) {
    in.lastPickedName = pickAt(state, e.x, e.y);
    rightDown(state, in.lastPickedName, e.x);
  } else if (e.flags & MK_MIDDLE_BUTTON) {
    stopAnimation(state);
  }
}

void onButtonUp(EngineState& state, const platform::Command& command) {
  const MouseEvent e = mouseEventOf(command);
  InputState& in = state.main->input;
  ViewState& v = state.view->view;
  in.currentX = e.x;
  in.currentY = e.y;
  const bool right = (e.flags & MK_RIGHT_BUTTON) != 0;
  const bool left = (e.flags & MK_LEFT_BUTTON) != 0;
  platform::DataLockGuard lock(state.main->dataLock);
  const int32_t name = pickAt(state, e.x, e.y);
  in.lastPickedName = name;
  const int ddx = std::abs(e.x - in.pressX), ddy = std::abs(e.y - in.pressY);

  if (name >= kElementFirst && name < kNamesEnd && ddx <= 2 && ddy <= 2) {
    in.actionMode = 0;
    takeElement(state, name);
    v.cacheValid[CACHE_LEGEND] = false;
    const bool leftMenu = name < kElementLast || (name >= kColourScaleFirst && name < 2000000285) || name > kTreeLast;
    if (right || (left && leftMenu)) showMenu(state, name);
    return;
  }
  if (in.actionMode != 0) {
    if (v.waterLevelState == 10) v.waterLevelState = 1;
    in.actionMode = 0;
    return;
  }
  if (in.animationOn.load() != 0 && platform::tickCount() - in.lastMoveTime < 250) {
    in.spinning = true;
    postBusy(state, true);
    postAnimationStep(state);  // a quick release after a flick keeps it spinning
  }
  const bool moved = ddx > 4 || ddy > 4;
  if (!isSample(name)) {
    render::drawFrame(state);
    if (right) {
      if (moved)
        in.selectedObjectType = 0;
      else
        showMenu(state, name);
    }
    return;
  }
  if (moved) {
    in.infoPanelOn = 0;
    render::drawFrame(state);
    return;
  }
  if (left && (e.flags & MK_CTRL_KEY)) {
    // Ctrl and a click toggle the object's selection; a deselected object is
    // no longer drawn, so its panel goes with it.
    selectObjectLocked(state, name);
    if (in.highlightedObject == name) {
      in.infoPanelOn = 0;
      in.highlightedObject = -1;
    }
    render::drawFrame(state);
    return;
  }
  if (in.infoPanelOn != 0 && in.highlightedObject == name) {
    in.infoPanelOn = 0;
    in.highlightedObject = -1;
  } else {
    in.infoPanelOn = 1;
    in.highlightedObject = name;
  }
  render::drawFrame(state);
  if (right) showMenu(state, name);
}

void onDoubleClick(EngineState& state, const platform::Command& command) {
  const MouseEvent e = mouseEventOf(command);
  InputState& in = state.main->input;
  in.currentX = e.x;
  in.currentY = e.y;
  in.previousX = e.x;
  in.previousY = e.y;
  runHook(interactionHooks().cancelAction, state);
  platform::DataLock& lock = state.main->dataLock;
  lock.acquire();
  const int32_t name = pickAt(state, e.x, e.y);
  in.lastPickedName = name;
  if (name > kWaterLevel && name < kElementLast) {
    showMenu(state, name);
  } else if (name == kElementLast) {
    takeElement(state, name);
    in.actionMode = 14;
    showMenu(state, name);
  } else if (name == kPlusButton || name == kMinusButton) {
    runHook(name == kPlusButton ? interactionHooks().rotateField : interactionHooks().deleteField, state);
    postEngine(state, CMD_UPDATE_MODEL, 0);
  } else if (name == kSliderScale || name == kSliderMinimum || name == kSliderMaximum) {
    startSliderDrag(state, name, sliderMode(name), e.x);
    showMenu(state, name);
  } else if (inRange(name, kColourScaleFirst, kColourStopLast)) {
    startColourDrag(state, name);
    showMenu(state, name);
  } else if (inRange(name, kTreeFirst, kTreeLast)) {
    toggleTree(state, name);
  } else if (name >= kTableFirst && name < kNamesEnd) {
    lock.release();
    if (interactionHooks().loadTable) interactionHooks().loadTable(state, name - kTableFirst);
    return;
  } else {
    showMenu(state, name);
  }
  lock.release();
}

}  // namespace vlm
