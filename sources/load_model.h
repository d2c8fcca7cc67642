#pragma once
// Which model a load ends with.
#include <functional>
#include <string>

namespace vlm {

struct EngineState;

// Applies a model file to the loaded data (the model file reader installs it).
using ModelApplier = std::function<void(EngineState& state, const std::string& path)>;
void setModelApplier(ModelApplier applier);

// A model file to apply once the next load has rows; empty for none.
void setPendingModel(EngineState& state, const std::string& path);
std::string pendingModel(EngineState& state);

// Once a load put rows into the table: the pending model file is applied and
// forgotten; without one the current model is kept when the field names still
// match it (CMD_UPDATE_MODEL), else a default model is built.
void settleModelAfterLoad(EngineState& state);

}  // namespace vlm
