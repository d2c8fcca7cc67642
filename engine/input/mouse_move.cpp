// CMD_MOUSE_MOVE and CMD_MOUSE_WHEEL.
#include "engine/camera/navigation.h"
#include "engine/engine_state.h"
#include "engine/input/interaction_hooks.h"
#include "engine/input/mouse_event.h"
#include "engine/render/render_commands.h"
#include "platform/clock.h"

namespace vlm {
namespace {

constexpr int32_t kButtons = MK_LEFT_BUTTON | MK_RIGHT_BUTTON | MK_MIDDLE_BUTTON;

int16_t navigationModeFor(int32_t flags) {
  if (flags & MK_LEFT_BUTTON) {
    if ((flags & MK_SHIFT_KEY) || (flags & MK_RIGHT_BUTTON)) return 3;
    if (flags & MK_CTRL_KEY) return 2;
    return 1;
  }
  if (flags & MK_RIGHT_BUTTON) return 2;
  return 3;  // middle
}

}  // namespace

void onMouseMove(EngineState& state, const platform::Command& command) {
  const MouseEvent e = mouseEventOf(command);
  InputState& in = state.main->input;
  in.lastMoveTime = platform::tickCount();
  in.buttonFlags = e.flags;
  if (in.fixMouse.exchange(0) != 0) {
    in.previousX = e.x;
    in.previousY = e.y;
  }
  in.currentX = e.x;
  in.currentY = e.y;
  in.infoPanelOn = 0;

  if (in.actionMode == 0) {
    if ((e.flags & kButtons) == 0) return;
    if (e.x == in.previousX && e.y == in.previousY) return;
    in.navigationMode = navigationModeFor(e.flags);
  } else {
    if ((e.flags & MK_LEFT_BUTTON) == 0) {
      // The release went missing: end the drag, and a dragged water level shows again.
      in.actionMode = 0;
      if (state.view->view.waterLevelState == 10) state.view->view.waterLevelState = 1;
      return;
    }
    const InteractionHooks& h = interactionHooks();
    if (in.actionMode == 19) {
      if (h.colourScaleDrag) h.colourScaleDrag(state, e.y);
    } else if (in.actionMode == 20) {
      const int stops = h.colourStopCount ? h.colourStopCount(state) : 0;
      if (h.colourStopDrag && in.colourStopIndex != 0 && in.colourStopIndex != stops - 1)
        h.colourStopDrag(state, in.colourStopIndex, e.y);
    } else if (in.actionMode < 13 || in.actionMode > 17) {
      return;
    }
    // Colour drags end in the view update too: the objects are re-placed with
    // the new colours and the frame drawn.
  }
  viewUpdate(state);
  in.previousX = in.currentX.load();
  in.previousY = in.currentY.load();
}

void onMouseWheel(EngineState& state, const platform::Command& command) {
  InputState& in = state.main->input;
  in.navigationMode = 4;
  in.wheelDelta = static_cast<int16_t>((command.wParam >> 16) & 0xFFFF);
  in.infoPanelOn = 0;
  viewUpdate(state);
}

}  // namespace vlm
