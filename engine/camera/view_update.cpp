#include <cmath>
#include <mutex>

#include "engine/camera/navigation.h"
#include "engine/engine_state.h"
#include "engine/input/interaction_hooks.h"
#include "engine/render/frame.h"

namespace vlm {
namespace {

void call(const std::function<void(EngineState&)>& f, EngineState& s) {
  if (f) f(s);
}

// Legend handle drags: the data lock is held while the scene is re-made.
void legendDrag(EngineState& state, int32_t mode) {
  InteractionHooks& h = interactionHooks();
  platform::DataLockGuard lock(state.main->dataLock);
  if (h.tuningDrag) h.tuningDrag(state, mode);
  call(h.resetPositionScales, state);
  if (mode == 16 || mode == 17) call(h.renormalise, state);
  call(h.replaceObjects, state);
  call(h.rebuildSpaceLists, state);
  render::drawFrame(state);
}

}  // namespace

void viewUpdate(EngineState& state) {
  ViewState& v = state.view->view;
  InputState& in = state.main->input;
  const int16_t curX = in.currentX.load(), curY = in.currentY.load();
  const float dx = float(in.previousX - curX), dy = float(in.previousY - curY);

  if (v.waterLevelState == 10) {
    v.waterLevelPosition[2] += dy * 0.25f;
    render::drawFrame(state);
    return;
  }
  if (in.actionMode >= 19 && in.actionMode <= 1019) {
    platform::DataLockGuard lock(state.main->dataLock);
    call(interactionHooks().replaceObjects, state);
    render::drawFrame(state);
    return;
  }
  if (in.actionMode >= 14 && in.actionMode <= 17) {
    legendDrag(state, in.actionMode);
    return;
  }

  {
    std::lock_guard lock(v.mutex);
    if (v.rotation[1] != 0.0f) {  // the roll springs back
      v.rotation[1] *= 0.9f;
      if (std::fabs(v.rotation[1]) < 0.5f) v.rotation[1] = 0.0f;
    }
    const float u = v.navigationSpeed / 15.0f;
    switch (in.navigationMode) {
      case 1:
        v.cameraTranslation[0] -= u * navigationResponse(dx);
        v.cameraTranslation[1] += u * navigationResponse(dy);
        break;
      case 2: {
        const float stepZ = -0.15f * navigationResponse(dx), stepX = -0.15f * navigationResponse(dy);
        v.rotation[2] += stepZ;
        v.rotation[0] += stepX;
        const bool flick = (std::fabs(dx) > 2.15f || std::fabs(dy) > 2.15f) && in.animationAllowed.load() != 0;
        in.animationOn = flick ? 1 : 0;
        in.spinIncrement[0] = flick ? stepX / 2 : 0.0f;
        in.spinIncrement[1] = 0.0f;
        in.spinIncrement[2] = flick ? stepZ / 2 : 0.0f;
        break;
      }
      case 3: v.cameraTranslation[2] += -0.3f * navigationResponse(dy); break;
      case 4: v.cameraTranslation[2] -= u * 0.2f * navigationResponse(float(in.wheelDelta)); break;
      default: break;
    }
  }
  render::drawFrame(state);  // the rotate step draws once, like every other mode
}

}  // namespace vlm
