#include "tools/tool_services.h"

#include <dlfcn.h>

namespace vlm::tools {
namespace {

// The exports are looked up by name: a build without the Selector, the
// Calculator or the model file simply has none of them.
template <typename F>
F find(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
}

ToolServices lookUp() {
  ToolServices s;
  if (auto open = find<void (*)()>("vlm_OpenSelector")) s.openSelector = open;
  if (auto on = find<int (*)()>("vlm_IsSelectorOn")) s.isSelectorOn = [on] { return on() != 0; };
  if (auto open = find<void (*)()>("vlm_OpenCalculator")) s.openCalculator = open;
  if (auto on = find<int (*)()>("vlm_IsCalculatorOn")) s.isCalculatorOn = [on] { return on() != 0; };
  if (auto jump = find<int (*)(int)>("vlm_JumpToServer")) s.jumpToServer = [jump](int32_t sample) { jump(sample); };
  if (auto open = find<void (*)(const char*)>("vlm_OpenModel")) s.openModelDialog = [open] { open(nullptr); };
  return s;
}

}  // namespace

ToolServices& toolServices() {
  static ToolServices services = lookUp();
  return services;
}

}  // namespace vlm::tools
