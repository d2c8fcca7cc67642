// Handlers of the context, resize, quality and draw commands.
#include "engine/render/render_commands.h"

#include <GL/gl.h>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/input/interaction_hooks.h"
#include "engine/render/context_lifecycle.h"
#include "engine/render/frame.h"
#include "engine/render/gl_setup.h"
#include "engine/render/overlay_units.h"
#include "engine/render/render_context.h"
#include "engine/worker_thread.h"
#include "model/space_settings_table.h"
#include "platform/command_queue.h"
#include "platform/message_box.h"

namespace vlm {

namespace {

void stereoBox(const char* text, platform::BoxIcon icon) {
  platform::MessageBoxRequest box;
  box.caption = " Grid 3D STEREO Setting";
  box.text = text;
  box.icon = icon;
  platform::showMessageBox(box);
}

// A stereo setting the display cannot follow: the view opens in mono, the
// user is told, and the setting (the stored switch and the Grid's row) is
// turned off so the next start is quiet.
bool openInMonoInstead(EngineState& state) {
  ViewState& v = state.view->view;
  if (v.stereo.load() == 0) return false;
  v.stereo = 0;
  {
    platform::DataLockGuard lock(state.main->dataLock);
    state.main->settings.stereoGridItem = 0;
    state.view->space.rows[kRowStereo].value = 0;
  }
  if (!render::openRenderContext(state)) return false;
  stereoBox("This display cannot show 3D stereo. \nVelmora goes on drawing in mono.", platform::BoxIcon::Information);
  return true;
}

}  // namespace

bool onOpenWindow(EngineState& state, const platform::Command&) {
  const bool stereo = state.view->view.stereo.load() != 0;
  // Asked for stereo, the failure is not reported yet: mono may still open.
  if (!render::openRenderContext(state, !stereo) && !openInMonoInstead(state)) return false;
  // Both run after the open has completed, from the engine thread's own queue.
  postEngine(state, CMD_SET_DEFAULT_COLOR_MODEL, 2);
  postEngine(state, CMD_SET_RENDER_QUALITY, 1);
  return true;
}

void onCloseWindow(EngineState& state, const platform::Command&) { render::closeRenderContext(state); }

void onResize(EngineState& state, const platform::Command& command) {
  ViewState& v = state.view->view;
  v.viewportWidth = static_cast<int32_t>(command.wParam);
  v.viewportHeight = static_cast<int32_t>(command.lParam);
  if (v.viewportHeight > 0) v.aspect = float(v.viewportWidth) / float(v.viewportHeight);  // else keep the last
  if (v.render) {
    glViewport(0, 0, v.viewportWidth, v.viewportHeight);
    // The window moved to a display of another device-pixel ratio: the glyphs
    // are made again at the new size, and every text with them.
    if (v.render->fontPixelRatio != render::overlayScale(v)) {
      render::makeOverlayFont(state, *v.render);
      state.view->space.rows[kRowLabelFont].fontListsValid = false;
      for (auto& flag : v.cacheValid) flag = false;
    }
  }
  v.cacheValid[CACHE_LEGEND] = false;
  render::drawFrame(state);
}

bool onSetStereo(EngineState& state, const platform::Command& command) {
  const bool stereo = command.wParam != 0;
  state.view->view.stereo = stereo ? 1 : 0;
  render::closeRenderContext(state);
  // Asked for stereo, a refused format is not reported yet: the view is
  // opened again in mono rather than left without a context.
  if (render::openRenderContext(state, !stereo) || openInMonoInstead(state)) {
    interactionHooks().reapplyModel(state);
    return true;
  }
  stereoBox("You need to RESTART Velmora \nto turn 3D STEREO setting  \ninto full effect...", platform::BoxIcon::Warning);
  return false;
}

void onSetRenderQuality(EngineState& state, const platform::Command& command) {
  if (!state.view->view.render) return;
  render::applyRenderQuality(state, static_cast<int>(static_cast<intptr_t>(command.wParam)));
}

void onDrawScene(EngineState& state, const platform::Command&) { render::drawFrame(state); }

namespace render {
void setFrameContent(EngineState& state, std::shared_ptr<FrameContent> content) {
  state.view->view.frameContent = std::move(content);
}
}  // namespace render

}  // namespace vlm
