// vlm_DoThis: view presets along the axes and equalising of the axis scales.
#include <mutex>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/render/render_commands.h"
#include "engine/worker_thread.h"
#include "model/association.h"
#include "platform/command_queue.h"

namespace vlm {
namespace {

constexpr int32_t kNameBase = 2000000000;

int32_t viewCode(const InputState& in) {
  if (in.lastPickedName >= kNameBase) return in.lastPickedName;
  switch (in.selectedObjectIndex) {
    case ATTRIB_AXISY: return 2000000013;
    case ATTRIB_AXISZ: return 2000000015;
    default: return 2000000011;
  }
}

enum class Axis { X, Y, Z };

Axis axisOf(int32_t code) {
  if (code == 2000000013 || code == 2000000014) return Axis::Y;
  if (code == 2000000015 || code == 2000000016) return Axis::Z;
  return Axis::X;
}

}  // namespace

void onDoThis(EngineState& state, const platform::Command& command) {
  const int32_t code = command.wParam != 0 ? static_cast<int32_t>(command.wParam) : viewCode(state.main->input);
  const int kind = static_cast<int>(command.lParam);
  if (kind < 1 || kind > 3) return;
  const Axis axis = axisOf(code);
  platform::DataLock& lock = state.main->dataLock;
  lock.acquire();
  if (kind == 3) {
    const int src = axis == Axis::Y ? ATTRIB_AXISY : axis == Axis::Z ? ATTRIB_AXISZ : ATTRIB_AXISX;
    auto& saved = state.model->associations.saved;
    if (saved[src].field >= 0) {
      for (int a : {ATTRIB_AXISX, ATTRIB_AXISY, ATTRIB_AXISZ})
        if (a != src) saved[a].scale = saved[src].scale;
    }
    lock.release();
    postEngine(state, CMD_UPDATE_MODEL, 0);
    return;
  }
  float rx = 0, rz = 0;
  switch (axis) {
    case Axis::Y: rx = kind == 1 ? -90.0f : 0.0f, rz = kind == 1 ? -90.0f : 0.0f; break;
    case Axis::Z: rx = kind == 1 ? 0.0f : -90.0f, rz = 0.0f; break;
    case Axis::X: rx = kind == 1 ? -90.0f : 0.0f, rz = kind == 1 ? 0.0f : -90.0f; break;
  }
  {
    ViewState& v = state.view->view;
    std::lock_guard camera(v.mutex);
    v.rotation[0] = rx;
    v.rotation[1] = 0.0f;
    v.rotation[2] = rz;
  }
  state.view->view.cacheValid[CACHE_OBJECTS] = false;
  lock.release();
  postEngine(state, CMD_DRAW_SCENE);
}

}  // namespace vlm
