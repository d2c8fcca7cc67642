#pragma once
// Mouse, key and action state of the main record.
//
// The engine thread's input handlers own these fields. The host thread writes a
// few of them directly (vlm_SaveMousePosition, vlm_FixMouse, vlm_Animation and
// the camera resets that stop the spin); those are atomic.
#include <atomic>
#include <cstdint>

namespace vlm {

// Mouse key flags of the window messages.
enum MouseKeyFlag : int32_t {
  MK_LEFT_BUTTON = 0x01,
  MK_RIGHT_BUTTON = 0x02,
  MK_SHIFT_KEY = 0x04,
  MK_CTRL_KEY = 0x08,
  MK_MIDDLE_BUTTON = 0x10,
};

struct InputState {
  int16_t navigationMode = 0;  // 1 pan, 2 rotate, 3 zoom, 4 wheel
  std::atomic<int16_t> currentX{0}, currentY{0};
  int16_t previousX = 0, previousY = 0;
  int16_t wheelDelta = 0;
  int32_t pressX = 0, pressY = 0;
  int32_t actionMode = 0;  // 0 none, 13 water level, 14-17 legend handles, 19 colour scale, 20 colour stop
  int32_t lastPickedName = -1;
  int32_t activeField = -1;
  int32_t colourStopIndex = 0;
  double dragOrigin = 0.0;
  // Read and set by the host through the selection exports, hence atomic.
  std::atomic<int32_t> selectedObjectType{0};
  std::atomic<int32_t> selectedObjectIndex{0};  // also the current attribute while the type is 2
  std::atomic<int32_t> selectionState{0};
  int32_t rightClickObject = -1;
  int32_t infoPanelOn = 0;
  int32_t highlightedObject = -1;
  std::atomic<int32_t> animationAllowed{1};
  std::atomic<int32_t> animationOn{0};
  std::atomic<float> spinIncrement[3] = {0.0f, 0.0f, 0.0f};
  std::atomic<int32_t> fixMouse{0};
  uint32_t lastMoveTime = 0;
  bool shiftDown = false;
  bool ctrlDown = false;
  int32_t buttonFlags = 0;  // mouse key flags of the last event
  // One CMD_ANIMATE is queued at most: set by whoever posts the step, cleared by
  // the step when it runs, so a second vlm_Animation(1) cannot double the spin.
  std::atomic<bool> animateQueued{false};
  // A spin started by a flick told the host it is busy; stopping that spin,
  // and nothing else, tells it it is idle again (a click during a load must
  // not turn the load's Stop button off).
  std::atomic<bool> spinning{false};
};

}  // namespace vlm
