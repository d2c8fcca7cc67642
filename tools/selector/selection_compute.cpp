#include "tools/selector/selection_compute.h"

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/tool_hooks.h"
#include "engine/worker_thread.h"
#include "tools/selector/row_edits.h"
#include "tools/selector/row_test.h"
#include "tools/selector/selector_view.h"

namespace vlm::selector {

int32_t computeSelectionLocked(EngineState& state, bool completeView) {
  QueryArrays q = queryArrays(state);
  syncFailCounts(q);
  const int32_t selected = reevaluateFlags(q);
  state.model->selectedCount = selected;
  postHits(state);
  if (toolHooks().selectionChanged) toolHooks().selectionChanged(state);
  state.view->view.cacheValid[CACHE_OBJECTS] = false;
  postEngine(state, CMD_DRAW_SCENE);
  publishView(state, completeView);
  return selected;
}

}  // namespace vlm::selector
