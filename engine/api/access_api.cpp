// The database workspace exports: each posts to the data thread, apart from
// the running check.
#include <string>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "sources/access/access_automation.h"

namespace vlm {
namespace {

constexpr size_t kFileNameLimit = 4095;

int post(int32_t number, uintptr_t wParam = 0, std::string text = {}) {
  auto state = currentState();
  if (!state) return 0;
  return postData(*state, number, wParam, 0, std::move(text)) ? 1 : 0;
}

}  // namespace
}  // namespace vlm

using namespace vlm;

VLM_API int vlm_IsAccessRunning(void) {
  auto state = currentState();
  return state ? isAccessRunning(*state) : 0;
}

VLM_API int vlm_AccessStart(void) { return post(CMD_ACCESS_START); }

VLM_API int vlm_AccessOpen(const char* fileName) {
  if (!fileName) return 0;
  std::string name(fileName);
  if (name.size() > kFileNameLimit) name.resize(kFileNameLimit);
  return post(CMD_ACCESS_OPEN, 0, std::move(name));
}

VLM_API int vlm_AccessQuit(void) { return post(CMD_ACCESS_QUIT); }

VLM_API int vlm_JumpAccess(int sample) {
  return post(CMD_JUMP_ACCESS, static_cast<uintptr_t>(static_cast<intptr_t>(sample)));
}

VLM_API int vlm_SwitchAccess(void) { return post(CMD_SWITCH_ACCESS); }
