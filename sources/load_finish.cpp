#include "sources/load_finish.h"

#include <algorithm>

#include "data/distinct_values.h"
#include "data/table_clear.h"
#include "engine/camera/navigation.h"
#include "engine/commands/command_ids.h"
#include "engine/host_link.h"
#include "engine/tool_hooks.h"
#include "engine/worker_thread.h"
#include "model/association_ops.h"
#include "sources/load_model.h"
#include "sources/progress.h"
#include "sources/source_record.h"

namespace vlm {

void finishLoadLocked(EngineState& state, HostProgress& progress) {
  DataTable& table = *state.data;
  progress.begin(" analyzing", 0, 100);
  buildAllDistinctValues(table, [&progress](int32_t field) { progress.step(int64_t{10} * (field + 1)); });
  progress.end();

  if (toolHooks().fieldsLoaded) toolHooks().fieldsLoaded(state);
  if (toolHooks().tableLoaded) {
    // The Selector takes the new rows: every sample passes and is selected.
    toolHooks().tableLoaded(state);
  } else {
    ModelRecord& model = *state.model;
    const size_t rows = static_cast<size_t>(std::max(table.rowCount.get(), 0));
    if (model.selectionFlags.size() < rows) model.selectionFlags.resize(rows, 0);
    std::fill(model.selectionFlags.begin(), model.selectionFlags.begin() + static_cast<std::ptrdiff_t>(rows), 1);
    model.selectedCount = table.rowCount;
    if (toolHooks().selectionChanged) toolHooks().selectionChanged(state);
  }
  state.view->view.navigationSpeed = navigationSpeedFor(table.rowCount);
  if (const auto& loaded = toolHooks().selectionLoaded) loaded(state);
  if (table.hooks.invalidateGraphicCache) table.hooks.invalidateGraphicCache();
}

void endLoaded(EngineState& state) {
  settleModelAfterLoad(state);
  postRefresh(state);
  postBusy(state, false);
  postHits(state);
}

void endNothingLoaded(EngineState& state) {
  postBusy(state, false);
  {
    platform::DataLockGuard guard(state.main->dataLock);
    ModelContext ctx = modelContext(state);
    deleteAllAssociationsLocked(ctx);
  }
  postEngine(state, CMD_UPDATE_MODEL, 0);
  postRefresh(state);
  postHits(state);
}

void clearData(EngineState& state) {
  platform::DataLockGuard guard(state.main->dataLock);
  clearTable(*state.data);
  publishSource(state);
}

}  // namespace vlm
