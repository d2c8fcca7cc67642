#pragma once
// What every load does once its rows are in the table, and how it ends.
#include "engine/engine_state.h"

namespace vlm {

class HostProgress;

// Under the data lock, after the rows are stored: the distinct-value analysis
// of every field (progress " analyzing"), every sample selected, and the
// navigation speed for the new row count.
void finishLoadLocked(EngineState& state, HostProgress& progress);

// Ends a load that put rows into the table: settles the model
// (settleModelAfterLoad: a pending model file, the current model when the
// field names still match it, else a default model); then HM_REFRESH,
// HM_BUSY 0 and HM_HITS. Takes the data lock for the model.
void endLoaded(EngineState& state);

// Ends a connection that loaded nothing: HM_BUSY 0, an empty model, and
// HM_REFRESH and HM_HITS so the host shows the empty state.
void endNothingLoaded(EngineState& state);

// Clears the table under the data lock, as every new connection does first.
void clearData(EngineState& state);

}  // namespace vlm
