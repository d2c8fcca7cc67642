// The pick and the selection commands, and the element hooks of the button
// handlers.
#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/input/interaction_hooks.h"
#include "engine/picking/pick.h"
#include "engine/picking/selection_ops.h"
#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "platform/command_queue.h"

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

}  // namespace

void registerPickingHandlers() {
  HandlerTable& t = engineHandlers();
  t.set(CMD_SELECT_OBJECT, &onSelectObject);
  t.set(CMD_CLEAR_SELECTION, &underLock<clearSelectionLocked>);
  t.set(CMD_INVERT_SELECTION, &underLock<invertSelectionLocked>);
  t.set(CMD_DELETE_SELECTED, &underLock<deleteSelected>);
  InteractionHooks& h = interactionHooks();
  h.pick = pickAt;
  h.elementInfo = elementInfo;
  if (!h.rotateField) h.rotateField = rotateCurrentField;
  if (!h.deleteField) h.deleteField = deleteCurrentField;
}

}  // namespace vlm
