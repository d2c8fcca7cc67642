#pragma once
// Saving the model (the current file, or a name asked for) and starting a
// new one.
#include <cstdint>
#include <string>

namespace vlm {

struct EngineState;

// Writes the model into `path`: the file read first (its sections and keys
// the model does not write stay), the model put in under the data lock, then
// the file replaced whole. On success the saved flag is set and the file
// goes to the recent files; a file that cannot be written is said in a
// message, the saved flag stays clear and 0 is returned.
int32_t writeModelFile(EngineState& state, const std::string& path);
// vlm_ModelSave: the current model path, or Save As without one.
int32_t saveModel(EngineState& state);
// vlm_ModelSaveAs: asks for the file ("Save Model As"); 0 when cancelled.
int32_t saveModelAs(EngineState& state);
// vlm_ModelReset: no model name, path or source, no associations; the model
// rebuilt with its position reset. Returns the result of posting the rebuild.
int32_t resetModel(EngineState& state);

}  // namespace vlm
