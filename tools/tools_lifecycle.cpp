#include "tools/tools_lifecycle.h"

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/speech_hooks.h"
#include "tools/grid/grid_window.h"
#include "tools/help/help_window.h"
#include "tools/menus/floating_menu.h"
#include "tools/model_edit.h"
#include "tools/setup/setup_window.h"
#include "tools/tool_services.h"
#include "tools/tools_state.h"

namespace vlm {
namespace {

bool onRunToolEdits(EngineState& state, const platform::Command&) {
  runQueuedEdits(state);
  return true;
}

}  // namespace

void registerToolHandlers() {
  engineHandlers().set(CMD_RUN_TOOL_EDITS, &onRunToolEdits);
  // Speech that has started changes what the voice menu offers.
  speechHooks().started = [](EngineState& state) { tools::rebuildMenus(state); };
}

namespace tools {

void arrangeToolWindows(EngineState& state) {
  const ToolServices& s = toolServices();
  if (s.openSelector && !(s.isSelectorOn && s.isSelectorOn())) s.openSelector();
  if (s.openCalculator && !(s.isCalculatorOn && s.isCalculatorOn())) s.openCalculator();
  if (!isGridOn(state)) openGrid(state);
  for (const QPointer<ToolWindow>& w : toolsOf(state).windows)
    if (w && w->isOpen()) w->placeFromSettings();
}

void closeTools(EngineState& state) {
  std::shared_ptr<ToolsState> tools = std::atomic_load(&state.main->tools);
  if (!tools) return;
  for (const QPointer<ToolWindow>& w : tools->windows) {
    if (!w) continue;
    w->storeGeometry();
    delete w.data();
  }
  tools->windows.clear();
}

}  // namespace tools
}  // namespace vlm
