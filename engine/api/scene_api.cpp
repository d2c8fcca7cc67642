// Exports of the scene family: objects, builders, space colours, water, legend.
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/input/interaction_hooks.h"
#include "engine/scene/model_builders.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "model/space_settings_table.h"

using vlm::currentState;

VLM_API int vlm_GetNumberOfObjects(void) {
  auto state = currentState();
  if (!state) return 0;
  vlm::platform::DataLockGuard lock(state->main->dataLock);  // the rebuild resizes the objects
  return state->model->objectCount;
}

VLM_API int vlm_CreateDefaultModel(int type) {
  auto state = currentState();
  return state && vlm::postEngine(*state, vlm::CMD_CREATE_DEFAULT_MODEL, static_cast<uintptr_t>(type)) ? 1 : 0;
}

VLM_API void vlm_SetDefaultModel(int type) {
  auto state = currentState();
  if (!state) return;
  vlm::platform::DataLockGuard lock(state->main->dataLock);  // the loaders read it under the lock
  state->model->defaultModelKind = type;
}

VLM_API int vlm_LoadDefaultModel(int type) {
  auto state = currentState();
  if (!state) return 0;
  {
    vlm::platform::DataLockGuard lock(state->main->dataLock);
    state->model->defaultModelKind = type;
  }
  if (const auto& cancel = vlm::interactionHooks().cancelAction) cancel(*state);
  // The same request vlm_InitConnection(0) posts: connect to the database again.
  return vlm::postData(*state, vlm::CMD_INIT_CONNECTION, 0) ? 1 : 0;
}

VLM_API int vlm_GridSetColor(int row, uint32_t colorref) {
  auto state = currentState();
  if (!state) return 0;
  bool changed = false;
  {
    vlm::platform::DataLockGuard lock(state->main->dataLock);
    changed = vlm::gridSetColour(state->view->space, row, colorref);
  }
  if (!changed) return 0;
  return vlm::postEngine(*state, vlm::CMD_GRID_SET_COLOR, static_cast<uintptr_t>(row)) ? 1 : 0;
}

VLM_API uint32_t vlm_GetColorSetup(int row) {
  auto state = currentState();
  if (!state || row < 0 || row >= vlm::kSpaceSettingCount) return 0;
  vlm::platform::DataLockGuard lock(state->main->dataLock);
  return state->view->space.rows[static_cast<size_t>(row)].colorref;
}

VLM_API void vlm_SetWaterlevel(int on) {
  auto state = currentState();
  if (!state) return;
  state->view->view.waterLevelState = on ? 1 : 0;
  vlm::postRefresh(*state);
  vlm::postEngine(*state, vlm::CMD_DRAW_SCENE);
}

VLM_API int vlm_GetWaterlevel(void) {
  auto state = currentState();
  return state && state->view->view.waterLevelState.load() != 0 ? 1 : 0;
}

VLM_API int vlm_GetLabels(void) {
  auto state = currentState();
  return state && state->view->view.legendOn.load() ? 1 : 0;
}

VLM_API void vlm_SetLabels(int on) {
  auto state = currentState();
  if (!state) return;
  state->view->view.legendOn = on != 0;
  state->view->view.cacheValid[vlm::CACHE_LEGEND] = false;
}

VLM_API int vlm_GetDefaultLabels(void) {
  auto state = currentState();
  return state && state->model->scene.legend.showAllAttributes.load() ? 1 : 0;
}

VLM_API void vlm_SetDefaultLabels(int on) {
  auto state = currentState();
  if (!state) return;
  state->model->scene.legend.showAllAttributes = on != 0;
  state->view->view.cacheValid[vlm::CACHE_LEGEND] = false;
}
