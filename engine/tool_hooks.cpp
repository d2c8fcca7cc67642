#include "engine/tool_hooks.h"

namespace vlm {

ToolHooks& toolHooks() {
  static ToolHooks hooks;
  return hooks;
}

}  // namespace vlm
