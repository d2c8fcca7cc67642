#include "engine/engine_state.h"

#include <algorithm>
#include <new>

#include "model/association_ops.h"
#include "platform/report.h"

namespace vlm {
namespace {
std::mutex g_stateMutex;
std::shared_ptr<EngineState> g_state;
}  // namespace

std::shared_ptr<EngineState> currentState() {
  std::lock_guard lock(g_stateMutex);
  return g_state;
}

void setCurrentState(std::shared_ptr<EngineState> state) {
  std::lock_guard lock(g_stateMutex);
  g_state = std::move(state);
}

}  // namespace vlm

namespace vlm {

ModelContext modelContext(EngineState& state) {
  ModelContext ctx{state.model->associations, *state.data, state.view->colorModel,
                   state.view->savedColorModel, state.model->saved};
  ctx.defaultOptions = state.main->settings.mappingOptions;
  ctx.selectedObjectType = state.main->input.selectedObjectType;
  ctx.selectedObjectIndex = state.main->input.selectedObjectIndex;
  ctx.regional = state.main->regional;
  ctx.hooks = &state.model->hooks;
  return ctx;
}

void installTableHooks(const std::shared_ptr<EngineState>& shared) {
  std::weak_ptr<EngineState> weak = shared;
  RowArrayHooks& hooks = shared->data->hooks;
  hooks.grow = [weak](int32_t oldRowCount, int32_t newCapacity) {
    auto state = weak.lock();
    if (!state) return false;
    ++state->main->calculator.tableGeneration;
    try {
      auto& flags = state->model->selectionFlags;
      flags.resize(static_cast<size_t>(newCapacity), 0);
      std::fill(flags.begin() + std::min<size_t>(static_cast<size_t>(std::max(oldRowCount, 0)), flags.size()),
                flags.end(), 0);
      // Room for the hit records of every object: 4 words each and some slack.
      state->main->selectionBuffer.resize(4 * static_cast<size_t>(newCapacity) + 100);
    } catch (const std::bad_alloc&) {
      platform::reportError("Unable to store Selection flags!");
      state->main->abortFlag = 1;
      return false;
    }
    if (!growAssociationValues(state->model->associations, newCapacity)) {
      state->main->abortFlag = 1;
      return false;
    }
    return true;
  };
  hooks.clear = [weak] {
    auto state = weak.lock();
    if (!state) return;
    ++state->main->calculator.tableGeneration;
    state->model->selectionFlags.clear();
    state->model->selectionFlags.shrink_to_fit();
    state->model->selectedCount = 0;
    state->main->selectionBuffer.clear();
    state->main->selectionBuffer.shrink_to_fit();
    state->model->objects.clear();
    state->model->objectCount = 0;
    state->main->selector.rowsBuilt = 0;
    state->main->selector.failCounts.clear();
    state->main->selector.failCounts.shrink_to_fit();
    state->main->selector.countedRows = -1;
    state->main->selector.pending.clear();
    state->main->selector.entrySamples.clear();
  };
  hooks.invalidateGraphicCache = [weak] {
    if (auto state = weak.lock())
      for (auto& flag : state->view->view.cacheValid) flag = false;
  };
}

}  // namespace vlm
