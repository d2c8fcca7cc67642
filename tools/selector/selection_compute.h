#pragma once
// The selection computation that follows every change of the Selector's rows.
#include <cstdint>

namespace vlm {
struct EngineState;
}

namespace vlm::selector {

// Under the data lock: every flag 6 is re-evaluated (1 when the sample passes
// every row), the selected count becomes the number of non-zero flags, HM_HITS
// goes to the host, the tool hooks hear of it, the objects are drawn again and
// the window is shown the rows that changed (every row when `completeView`).
// Returns the selected count.
int32_t computeSelectionLocked(EngineState& state, bool completeView = false);

}  // namespace vlm::selector
