// CMD_KEY_DOWN and CMD_KEY_UP: keys act like short mouse moves.
#include "engine/camera/navigation.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/input/interaction_hooks.h"
#include "engine/input/virtual_keys.h"
#include "engine/render/frame.h"
#include "engine/render/render_commands.h"
#include "engine/worker_thread.h"

namespace vlm {
namespace {

// A step of the current position by (dx, dy) in navigation mode `mode`
// (0: pan with Shift held, otherwise rotate), then the view update.
void keyStep(EngineState& state, int dx, int dy, int16_t mode) {
  InputState& in = state.main->input;
  in.previousX = in.currentX.load();
  in.previousY = in.currentY.load();
  in.navigationMode = mode != 0 ? mode : (in.shiftDown ? 1 : 2);
  in.currentX = static_cast<int16_t>(in.currentX.load() + dx);
  in.currentY = static_cast<int16_t>(in.currentY.load() + dy);
  viewUpdate(state);
}

}  // namespace

void onKeyDown(EngineState& state, const platform::Command& command) {
  InputState& in = state.main->input;
  switch (static_cast<int>(command.wParam)) {
    case VK_KEY_SHIFT: in.shiftDown = true; break;
    case VK_KEY_CONTROL: in.ctrlDown = true; break;
    case VK_KEY_ESCAPE:
    case VK_KEY_DELETE:
      // The association of the current attribute goes; the rows stay.
      if (interactionHooks().deleteField) {
        platform::DataLockGuard lock(state.main->dataLock);
        interactionHooks().deleteField(state);
      }
      postEngine(state, CMD_UPDATE_MODEL, 0);
      break;
    case VK_KEY_LEFT:
    case VK_KEY_NUMPAD4: keyStep(state, -10, 0, 0); break;
    case VK_KEY_RIGHT:
    case VK_KEY_NUMPAD6: keyStep(state, 10, 0, 0); break;
    case VK_KEY_UP:
    case VK_KEY_NUMPAD8: keyStep(state, 0, -10, 0); break;
    case VK_KEY_DOWN:
    case VK_KEY_NUMPAD2: keyStep(state, 0, 10, 0); break;
    case VK_KEY_PRIOR:
    case VK_KEY_NUMPAD9: keyStep(state, 0, -2, 3); break;
    case VK_KEY_END:
    case VK_KEY_NUMPAD1:
    case VK_KEY_NEXT:  // Page Down moves back, the other way from Page Up
    case VK_KEY_NUMPAD3: keyStep(state, 0, 2, 3); break;
    case VK_KEY_HOME:
      getInitPosition(state);
      render::drawFrame(state);
      break;
    default: break;
  }
}

void onKeyUp(EngineState& state, const platform::Command& command) {
  const int key = static_cast<int>(command.wParam);
  InputState& in = state.main->input;
  if (key == VK_KEY_SHIFT) in.shiftDown = false;
  if (key == VK_KEY_CONTROL) in.ctrlDown = false;
}

void onUpdateView(EngineState& state, const platform::Command&) { viewUpdate(state); }

void onAnimate(EngineState& state, const platform::Command&) { animationStep(state); }

}  // namespace vlm
