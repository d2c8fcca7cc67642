// Exports of the output family: pictures of the view, textures and the HTML
// report.
#include <chrono>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "output/html_report.h"
#include "output/textures.h"
#include "platform/host_bridge.h"
#include "platform/url_opener.h"

namespace {

using vlm::currentState;

int post(int32_t number, uintptr_t wParam = 0, uintptr_t lParam = 0, std::string text = {}) {
  auto state = currentState();
  if (!state) return 0;
  return vlm::postEngine(*state, number, wParam, lParam, std::move(text)) ? 1 : 0;
}

constexpr std::chrono::milliseconds kDeleteTexturesWait{10000};

}  // namespace

VLM_API int vlm_CopyImage(void) { return post(vlm::CMD_COPY_IMAGE); }
VLM_API int vlm_SaveImage(void) { return post(vlm::CMD_SAVE_IMAGE); }
VLM_API int vlm_PrintImage(void) { return post(vlm::CMD_PRINT_IMAGE); }

VLM_API int vlm_CreateTextures(int field) {
  auto state = currentState();
  if (!state) return 0;
  vlm::postBusy(*state, true);
  return vlm::postEngine(*state, vlm::CMD_CREATE_TEXTURES, static_cast<uintptr_t>(static_cast<intptr_t>(field))) ? 1 : 0;
}

VLM_API int vlm_DeleteTextures(void) {
  auto state = currentState();
  if (!state) return 0;
  vlm::OutputState& o = state->main->output;
  auto engine = std::atomic_load(&state->main->engineThread);
  if (engine && engine->isCurrent()) {
    vlm::deleteObjectTextures(*state);
    return 1;
  }
  o.texturesEvent.reset();
  if (!vlm::postEngine(*state, vlm::CMD_DELETE_TEXTURES)) {
    // No engine thread: no context, so no GL names to delete; the list goes.
    vlm::retireObjectTextures(*state);
    o.texturesEvent.set();
    return 1;
  }
  vlm::platform::HostBridge& bridge = vlm::platform::HostBridge::instance();
  if (bridge.isHostThread())
    return bridge.waitPumping([&o] { return o.texturesEvent.isSet(); }, kDeleteTexturesWait) ? 1 : 0;
  return o.texturesEvent.wait(kDeleteTexturesWait) ? 1 : 0;
}

VLM_API int vlm_LoadTextureFile(const char* path, int plane) {
  if (!path) return 0;
  return post(vlm::CMD_LOAD_TEXTURE_FILE, static_cast<uintptr_t>(static_cast<intptr_t>(plane)), 0, path);
}

VLM_API int vlm_CopyToHTML(void) {
  auto state = currentState();
  if (!state) return 0;
  return vlm::copyToHtml(*state);
}

VLM_API int vlm_StartWebBrowser(const char* address) {
  if (!address || !*address) return 0;
  return vlm::platform::openUrl(address) ? 1 : 0;
}
