// Exports of the selection family. Changes are posted to the engine thread and
// run there under the data lock; the counts and the selected object are atomics
// read at once; a sample's flag is read under the lock.
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "platform/host_read_guard.h"

using vlm::currentState;

namespace {

int post(int32_t number, uintptr_t wParam = 0) {
  auto state = currentState();
  return state && vlm::postEngine(*state, number, wParam) ? 1 : 0;
}

}  // namespace

VLM_API int vlm_GetSelectionState(void) {
  auto state = currentState();
  return state ? state->main->input.selectionState.load() : 0;
}

VLM_API int vlm_SetSelectionState(int selectionState) {
  auto state = currentState();
  if (!state) return 0;
  state->main->input.selectionState = selectionState;
  return selectionState == 0 ? post(vlm::CMD_CLEAR_SELECTION) : 1;
}

VLM_API int vlm_SelectionInvert(void) { return post(vlm::CMD_INVERT_SELECTION); }

VLM_API int vlm_SelectObject(int name) {
  return post(vlm::CMD_SELECT_OBJECT, static_cast<uintptr_t>(static_cast<uint32_t>(name)));
}

VLM_API int vlm_DeleteSelected(void) { return post(vlm::CMD_DELETE_SELECTED); }

VLM_API int vlm_GetNumberOfSelected(void) {
  auto state = currentState();
  return state ? state->model->selectedCount.load() : 0;
}

VLM_API int vlm_IsObjectSelected(int sample) {
  auto state = currentState();
  if (!state || sample < 0) return 0;
  // The flags are resized by loads: read them under the lock, waiting for a
  // load that holds it, or under the hold of a worker that waits for this
  // thread's answer (a popup menu asks while the click handler holds it).
  const auto flag = [&] {
    const auto& flags = state->model->selectionFlags;
    return sample < state->data->rowCount && static_cast<size_t>(sample) < flags.size()
               ? static_cast<int>(flags[static_cast<size_t>(sample)])
               : 0;
  };
  vlm::platform::DataLock& lock = state->main->dataLock;
  if (lock.heldByCurrentThread()) return flag();
  vlm::platform::HostReadGuard read(lock);
  return flag();
}

VLM_API int vlm_GetSelectedObjectType(void) {
  auto state = currentState();
  return state ? state->main->input.selectedObjectType.load() : 0;
}

VLM_API void vlm_SetSelectedObjectType(int type) {
  if (auto state = currentState()) state->main->input.selectedObjectType = type;
}

VLM_API int vlm_GetSelectedObjectIndex(void) {
  auto state = currentState();
  return state ? state->main->input.selectedObjectIndex.load() : 0;
}

VLM_API int vlm_GetSelectedObject(void) { return vlm_GetSelectedObjectIndex(); }

VLM_API void vlm_SetSelectedObjectIndex(int index) {
  if (auto state = currentState()) state->main->input.selectedObjectIndex = index;
}
