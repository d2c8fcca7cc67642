#include "tools/tools_state.h"

namespace vlm {

ToolsState& toolsOf(EngineState& state) {
  std::shared_ptr<ToolsState> tools = std::atomic_load(&state.main->tools);
  if (!tools) {
    auto fresh = std::make_shared<ToolsState>();
    if (std::atomic_compare_exchange_strong(&state.main->tools, &tools, fresh)) tools = fresh;
  }
  return *tools;
}

}  // namespace vlm
