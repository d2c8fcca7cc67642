// The model file's data-thread commands.
#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/model_file/model_file_open.h"

namespace vlm {
namespace {

bool onOpenModel(EngineState& state, const platform::Command& command) {
  openModelFile(state, command.text, ModelMode::Open);
  return true;
}

// lParam 1: the model that waited for its data, applied by the loader.
bool onApplyModel(EngineState& state, const platform::Command& command) {
  openModelFile(state, command.text, ModelMode::Apply, command.lParam != 1);
  return true;
}

}  // namespace

void registerModelFileHandlers() {
  dataHandlers().set(CMD_OPEN_MODEL, &onOpenModel);
  dataHandlers().set(CMD_APPLY_MODEL, &onApplyModel);
}

}  // namespace vlm
