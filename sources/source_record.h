#pragma once
// The table's source description: set by the loaders, published for the getters.
#include <string>

#include "engine/engine_state.h"

namespace vlm {

// Copies the table's source description to the published one. The loaders
// call it after every change of the table's source (name, kind, path).
void publishSource(EngineState& state);

// A copy of the published description, taken under its own mutex: never
// waits for the data lock.
SourceDescription publishedSource(const EngineState& state);

// The state after a failed load: source "No Data", kind DSK_NONE, no path.
void markNoData(DataTable& table);

}  // namespace vlm
