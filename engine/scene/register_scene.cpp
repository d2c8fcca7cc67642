// Handlers of the scene commands: the model rebuild, the builders, the colour
// model and the grid colours.
#include "engine/camera/navigation.h"
#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/render/frame.h"
#include "engine/render/gl_setup.h"
#include "engine/scene/model_builders.h"
#include "engine/scene/model_rebuild.h"
#include "engine/scene/scene_content.h"
#include "engine/scene/scene_hooks.h"
#include "engine/worker_thread.h"
#include "model/color_schemes.h"
#include "model/space_settings_table.h"
#include "platform/command_queue.h"

namespace vlm {
namespace {

// wParam non-zero also resets the model position (queued copies are OR-merged);
// with kUpdateModelKeepsInitPosition that position becomes the initial one.
bool onUpdateModel(EngineState& state, const platform::Command& c) {
  platform::DataLockGuard lock(state.main->dataLock);
  rebuildModelLocked(state, c.wParam != 0);
  if ((c.wParam & kUpdateModelKeepsInitPosition) != 0) setInitPosition(state);
  return true;
}

bool onCreateDefaultModel(EngineState& state, const platform::Command& c) {
  ensureSceneContent(state);
  buildDefaultModel(state, static_cast<int32_t>(static_cast<intptr_t>(c.wParam)));
  return true;
}

bool onResetPositionScales(EngineState& state, const platform::Command&) {
  platform::DataLockGuard lock(state.main->dataLock);
  ensureSceneContent(state);
  replaceObjectsLocked(state);
  render::drawFrame(state);
  return true;
}

// wParam 1 or 2 applies that scheme first (the window open asks for the light
// one); vlm_SetDefaultColorModel has already applied its scheme and sends 0.
bool onSetDefaultColorModel(EngineState& state, const platform::Command& c) {
  ensureSceneContent(state);
  const auto scheme = static_cast<int32_t>(static_cast<intptr_t>(c.wParam));
  if (scheme == 1 || scheme == 2) {
    platform::DataLockGuard lock(state.main->dataLock);
    applyDefaultColorScheme(state.view->space, scheme);
  }
  if (state.view->view.render) {
    render::applyClearColour(state);
    render::resetLight(state);
  }
  invalidateSceneLists(state);
  postEngine(state, CMD_UPDATE_MODEL, 0);
  return true;
}

// wParam the row that changed.
bool onGridSetColor(EngineState& state, const platform::Command& c) {
  ensureSceneContent(state);
  const auto row = static_cast<int32_t>(static_cast<intptr_t>(c.wParam));
  if (state.view->view.render) {
    if (row == kRowBackgroundColor) render::applyClearColour(state);
    if (row == kRowLightColor) render::resetLight(state);
  }
  invalidateSceneLists(state);  // row 67 included: the water list is compiled again
  render::drawFrame(state);
  return true;
}

}  // namespace

void registerSceneHandlers() {
  HandlerTable& t = engineHandlers();
  t.set(CMD_UPDATE_MODEL, &onUpdateModel);
  t.set(CMD_CREATE_DEFAULT_MODEL, &onCreateDefaultModel);
  t.set(CMD_RESET_POSITION_SCALES, &onResetPositionScales);
  t.set(CMD_SET_DEFAULT_COLOR_MODEL, &onSetDefaultColorModel);
  t.set(CMD_GRID_SET_COLOR, &onGridSetColor);
  installSceneInteractionHooks();
}

}  // namespace vlm
