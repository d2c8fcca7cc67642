#include "engine/camera/navigation.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/render/frame.h"
#include "engine/worker_thread.h"

namespace vlm {
namespace {

float wrapAngle(float a) {
  if (a >= 360.0f) return a - 360.0f;
  if (a < -360.0f) return a + 360.0f;
  return a;
}

}  // namespace

void stopAnimation(EngineState& state) {
  InputState& in = state.main->input;
  in.animationOn = 0;
  for (auto& s : in.spinIncrement) s = 0.0f;
  if (in.spinning.exchange(false)) postBusy(state, false);
}

void postAnimationStep(EngineState& state) {
  InputState& in = state.main->input;
  if (in.animateQueued.exchange(true)) return;  // one step pending is enough
  if (!postEngine(state, CMD_ANIMATE)) in.animateQueued = false;
}

void setAnimation(EngineState& state, int on) {
  InputState& in = state.main->input;
  if (on == 1) {
    if (in.animationAllowed.load() == 0) return;
    in.animationOn = 1;
    postAnimationStep(state);
  } else if (on == 0) {
    in.animationOn = 0;
  }
}

void animationStep(EngineState& state) {
  InputState& in = state.main->input;
  in.animateQueued = false;
  ViewState& v = state.view->view;
  {
    std::lock_guard lock(v.mutex);
    v.rotation[0] = wrapAngle(v.rotation[0] + in.spinIncrement[0].load());
    v.rotation[2] = wrapAngle(v.rotation[2] + in.spinIncrement[2].load());
  }
  render::drawFrame(state);
  if (in.animationOn.load() != 0) postAnimationStep(state);
}

}  // namespace vlm
