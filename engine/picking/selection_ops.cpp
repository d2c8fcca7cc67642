#include "engine/picking/selection_ops.h"

#include <algorithm>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/input/pick_names.h"
#include "engine/render/frame.h"
#include "engine/tool_hooks.h"
#include "engine/worker_thread.h"
#include "model/association_lookup.h"

namespace vlm {
namespace {

constexpr uint8_t kSelected = 1;

// Rows that have a flag: the table's rows, bounded by the flags allocated.
size_t flaggedRows(const EngineState& state) {
  const int32_t rows = state.data ? state.data->rowCount.get() : 0;
  return std::min(static_cast<size_t>(std::max(rows, 0)), state.model->selectionFlags.size());
}

void invalidateGraphicCache(EngineState& state) {
  for (auto& flag : state.view->view.cacheValid) flag = false;
}

// The counts go to the host and the Calculator follows the new selection.
void selectionChanged(EngineState& state) {
  postHits(state);
  if (const auto& changed = toolHooks().selectionChanged) changed(state);
}

void toggleSample(EngineState& state, int32_t sample) {
  ModelRecord& m = *state.model;
  if (static_cast<size_t>(sample) >= flaggedRows(state)) return;
  uint8_t& flag = m.selectionFlags[static_cast<size_t>(sample)];
  if (flag == kSelected) {
    flag = 0;
    if (m.selectedCount > 0) --m.selectedCount;
  } else {
    flag = kSelected;
    ++m.selectedCount;
  }
  InputState& in = state.main->input;
  in.selectedObjectType = 1;
  in.selectedObjectIndex = sample;
  invalidateGraphicCache(state);
  selectionChanged(state);
}

void takeLegendElement(EngineState& state, int32_t name) {
  InputState& in = state.main->input;
  const int32_t attribute = objectToAttribute(name, in.selectedObjectType, in.selectedObjectIndex);
  in.selectedObjectType = 2;
  in.selectedObjectIndex = attribute;
  state.view->view.cacheValid[CACHE_OBJECTS] = false;
  in.actionMode = 14;
  in.lastPickedName = name;
  in.activeField = attributeToField(state.model->associations, attribute);
  render::drawFrame(state);
}

}  // namespace

void selectObjectLocked(EngineState& state, int32_t name) {
  InputState& in = state.main->input;
  if (name == pick::kWaterLevel) {
    state.view->view.waterLevelState = 10;
    in.actionMode = 13;
  } else if (name >= 2000000100 && name <= pick::kElementLast) {
    takeLegendElement(state, name);
  } else if (pick::isSample(name)) {
    toggleSample(state, name);
  } else {
    in.selectedObjectType = 0;
    in.selectedObjectIndex = name;
  }
}

void clearSelectionLocked(EngineState& state) {
  ModelRecord& m = *state.model;
  std::fill(m.selectionFlags.begin(), m.selectionFlags.end(), uint8_t{0});
  m.selectedCount = 0;
  invalidateGraphicCache(state);
  postRefresh(state);
  selectionChanged(state);
  postEngine(state, CMD_DRAW_SCENE);
}

void invertSelectionLocked(EngineState& state) {
  ModelRecord& m = *state.model;
  const size_t n = flaggedRows(state);
  int32_t count = 0;
  for (size_t i = 0; i < n; ++i) {
    uint8_t& flag = m.selectionFlags[i];
    flag = flag == 0 ? kSelected : 0;
    count += flag;
  }
  m.selectedCount = count;
  postRefresh(state);
  selectionChanged(state);
  postEngine(state, CMD_UPDATE_MODEL, 0);
}

bool deleteSelectedLocked(EngineState& state) {
  ModelRecord& m = *state.model;
  DataTable& t = *state.data;
  const size_t flagged = flaggedRows(state);
  const auto first = std::find(m.selectionFlags.begin(), m.selectionFlags.begin() + static_cast<std::ptrdiff_t>(flagged),
                               kSelected);
  if (first == m.selectionFlags.begin() + static_cast<std::ptrdiff_t>(flagged)) return false;

  const size_t rows = static_cast<size_t>(std::max(t.rowCount.get(), 0));
  const size_t fields = static_cast<size_t>(std::clamp(t.fieldCount, 0, kMaxFields));
  size_t kept = static_cast<size_t>(first - m.selectionFlags.begin());
  for (size_t r = kept; r < rows; ++r) {
    if (r < flagged && m.selectionFlags[r] == kSelected) continue;
    for (size_t f = 0; f < fields; ++f) {
      CellArray& cells = t.fields[f].cells;
      if (r < cells.size()) cells[kept] = cells[r];
      std::vector<int32_t>& sizes = t.fields[f].byteSizes;
      if (r < sizes.size()) sizes[kept] = sizes[r];
    }
    // The source row number travels with its row whatever the source, so a
    // jump back to the source finds the right record.
    if (r < t.rowIds.size()) t.rowIds[kept] = t.rowIds[r];
    ++kept;
  }
  for (size_t f = 0; f < fields; ++f) {
    CellArray& cells = t.fields[f].cells;
    for (size_t r = kept; r < std::min(rows, cells.size()); ++r) cells[r] = Cell{};
    std::vector<int32_t>& sizes = t.fields[f].byteSizes;
    for (size_t r = kept; r < std::min(rows, sizes.size()); ++r) sizes[r] = 0;
  }
  for (size_t r = kept; r < std::min(rows, t.rowIds.size()); ++r) t.rowIds[r] = -1;
  t.rowCount = static_cast<int32_t>(kept);
  ++state.main->calculator.tableGeneration;
  m.objectCount = std::min(m.objectCount, t.rowCount.get());

  std::fill(m.selectionFlags.begin(), m.selectionFlags.end(), uint8_t{0});
  m.selectedCount = 0;
  invalidateGraphicCache(state);
  selectionChanged(state);
  postEngine(state, CMD_UPDATE_MODEL, 0);
  return true;
}

}  // namespace vlm
