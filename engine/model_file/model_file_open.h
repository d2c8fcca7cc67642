#pragma once
// Opening and applying a model file (data thread): the save question, the
// open dialog, data files passed on to their loader, the check of the
// model's own data source (open only), the check of its field names, the
// file read under the data lock, and what follows.
#include <cstdint>
#include <string>

namespace vlm {

struct EngineState;

enum class ModelMode { Open, Apply };

// `path` empty shows the open dialog. 1 when a model (or a data file) was
// opened; 0 when the user stopped it, the model's data are loaded first (the
// model is then applied when their load completes), or the file holds no
// model (said in a message; the current model stays).
// `askToSave` false leaves out the save question (a model that waited for
// its data was asked about when it was opened).
int32_t openModelFile(EngineState& state, const std::string& path, ModelMode mode, bool askToSave = true);

// The dialog's filters and the open-file types they stand for.
struct OpenFilter {
  const char* label;
  const char* pattern;
  int32_t fileType;  // 1 model, 2 Excel, 3 Access, 4 tab-delimited, 5 comma-delimited, 0 all
};
// The list of the application kind: 1 Excel, anything else Access's.
const OpenFilter* openFilters(int32_t applicationKind, int32_t& count);

}  // namespace vlm
