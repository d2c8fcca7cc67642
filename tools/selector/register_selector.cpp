// The Selector's engine commands and the hooks the loaders call.
#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/tool_hooks.h"
#include "tools/selector/selection_load.h"
#include "tools/selector/selector_edits.h"
#include "tools/selector/selector_rows.h"

namespace vlm {
namespace {

bool editHandler(EngineState& state, const platform::Command& command) {
  selector::onSelectorEdit(state, command);
  return true;
}

bool playHandler(EngineState& state, const platform::Command& command) {
  selector::onPlaySlider(state, command);
  return true;
}

}  // namespace

void registerSelectorHandlers() {
  engineHandlers().set(CMD_SELECTOR_EDIT, &editHandler);
  engineHandlers().set(CMD_PLAY_SLIDER, &playHandler);
  dataHandlers().set(CMD_LOAD_SELECTION, &selector::onLoadSelectionOnly);
  toolHooks().tableLoaded = &selector::takeLoadedTableLocked;
}

}  // namespace vlm
