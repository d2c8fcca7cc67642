#include "engine/input/interaction_hooks.h"

#include <algorithm>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/worker_thread.h"

namespace vlm {
namespace {

// Extents over the objects themselves, until scene construction provides its own.
bool objectExtents(EngineState& state, float e[6]) {
  const ModelRecord& m = *state.model;
  const size_t n = std::min(static_cast<size_t>(std::max(m.objectCount, 0)), m.objects.size());
  if (n == 0) return false;
  e[0] = e[2] = e[4] = 3.4e38f;
  e[1] = e[3] = e[5] = -3.4e38f;
  for (size_t i = 0; i < n; ++i) {
    const ObjectRecord& o = m.objects[i];
    e[0] = std::min(e[0], o.x), e[1] = std::max(e[1], o.x);
    e[2] = std::min(e[2], o.y), e[3] = std::max(e[3], o.y);
    e[4] = std::min(e[4], o.z), e[5] = std::max(e[5], o.z + o.height);
  }
  return true;
}

InteractionHooks makeDefaults() {
  InteractionHooks h;
  h.dataExtents = objectExtents;
  h.reapplyModel = [](EngineState& s) { postEngine(s, CMD_UPDATE_MODEL, 0); };
  return h;
}

}  // namespace

InteractionHooks& interactionHooks() {
  static InteractionHooks hooks = makeDefaults();
  return hooks;
}

}  // namespace vlm
