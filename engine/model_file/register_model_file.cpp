// The model file's data-thread commands.
#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/model_file/model_file_open.h"
#include "engine/worker_thread.h"
#include "sources/load_model.h"

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
  // A model that waited for its data is applied once their load has rows,
  // after the load's own steps (the user was asked about saving on opening).
  setModelApplier([](EngineState& state, const std::string& path) { postData(state, CMD_APPLY_MODEL, 0, 1, path); });
}

}  // namespace vlm
