// The pick and the selection commands, and the element hooks of the button
// handlers.
#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/input/interaction_hooks.h"
#include "engine/picking/pick.h"
#include "engine/picking/pick_sources.h"
#include "engine/scene/legend.h"
#include "engine/scene/selection_draw.h"
#include "engine/picking/selection_ops.h"
#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "engine/worker_thread.h"
#include "platform/command_queue.h"
#include "sources/cancel.h"

namespace vlm {
namespace {

template <void (*Op)(EngineState&)>
bool underLock(EngineState& state, const platform::Command&) {
  platform::DataLockGuard lock(state.main->dataLock);
  Op(state);
  return true;
}

bool onSelectObject(EngineState& state, const platform::Command& c) {
  platform::DataLockGuard lock(state.main->dataLock);
  selectObjectLocked(state, static_cast<int32_t>(static_cast<uint32_t>(c.wParam)));
  return true;
}

void deleteSelected(EngineState& state) { deleteSelectedLocked(state); }

// The attribute of an axis or legend element and the field associated with it.
void elementInfo(EngineState& state, int32_t name, int32_t& attribute, int32_t& field) {
  const InputState& in = state.main->input;
  const int32_t a = objectToAttribute(name, in.selectedObjectType, in.selectedObjectIndex);
  if (a == ATTRIB_NO && (name < 2000000010 || name > 2000000200)) return;  // keeps the current one
  attribute = a;
  field = attributeToField(state.model->associations, a);
}

// The button handlers hold the data lock: the current attribute's field moves
// on or its association goes.
void rotateCurrentField(EngineState& state) {
  ModelContext ctx = modelContext(state);
  rotateFieldLocked(ctx, 0);
}

void deleteCurrentField(EngineState& state) {
  ModelContext ctx = modelContext(state);
  deleteFieldLocked(ctx, 0);
}

// A double click on a table of the database tree loads it whole.
bool loadTable(EngineState& state, int table) {
  bool valid = false;
  {
    platform::DataLockGuard lock(state.main->dataLock);
    valid = table >= 0 && static_cast<size_t>(table) < state.data->accessObjects.size();
  }
  return valid && postData(state, CMD_LOAD, static_cast<uintptr_t>(table), 1);
}

std::vector<PickRect> legendRects(EngineState& state) {
  std::vector<PickRect> rects;
  for (const HotRect& r : layoutLegendForPicking(state)) rects.push_back({r.left, r.top, r.right, r.bottom, r.name});
  return rects;
}

void drawPass(EngineState& state, PickPass pass) {
  drawForSelection(state, pass == PickPass::Axes ? SelectionPass::Axes : SelectionPass::ObjectsAndWater);
}

}  // namespace

void registerPickingHandlers() {
  HandlerTable& t = engineHandlers();
  t.set(CMD_SELECT_OBJECT, &onSelectObject);
  t.set(CMD_CLEAR_SELECTION, &underLock<clearSelectionLocked>);
  t.set(CMD_INVERT_SELECTION, &underLock<invertSelectionLocked>);
  t.set(CMD_DELETE_SELECTED, &underLock<deleteSelected>);
  PickSources& sources = pickSources();
  sources.legendRects = legendRects;
  sources.drawPass = drawPass;
  InteractionHooks& h = interactionHooks();
  h.pick = pickAt;
  h.elementInfo = elementInfo;
  if (!h.rotateField) h.rotateField = rotateCurrentField;
  if (!h.deleteField) h.deleteField = deleteCurrentField;
  if (!h.cancelAction) h.cancelAction = cancelAction;
  if (!h.loadTable) h.loadTable = loadTable;
}

}  // namespace vlm
