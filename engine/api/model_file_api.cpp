// Exports of the model file: open and apply run on the data thread, save and
// reset on the calling thread.
#include <string>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/model_file/model_file_save.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"

using vlm::currentState;

namespace {

constexpr size_t kMostPathCharacters = 4095;

int postPath(int32_t command, const char* path) {
  auto state = currentState();
  if (!state) return 0;
  std::string text = path ? path : "";
  if (text.size() > kMostPathCharacters) text.resize(kMostPathCharacters);
  vlm::postData(*state, command, 0, 0, std::move(text));
  return 1;
}

}  // namespace

VLM_API int vlm_OpenModel(const char* path) { return postPath(vlm::CMD_OPEN_MODEL, path); }

VLM_API int vlm_ModelApply(const char* path) { return postPath(vlm::CMD_APPLY_MODEL, path); }

VLM_API int vlm_ModelSave(void) {
  auto state = currentState();
  return state ? vlm::saveModel(*state) : 0;
}

VLM_API int vlm_ModelSaveAs(void) {
  auto state = currentState();
  return state ? vlm::saveModelAs(*state) : 0;
}

VLM_API int vlm_ModelReset(void) {
  auto state = currentState();
  return state ? vlm::resetModel(*state) : 0;
}
