#pragma once
// The selection operations on the engine state. Each runs on the engine thread
// under the data lock (the selection exports post them), so that a load on the
// data thread never clears or grows the flags under them.
#include <cstdint>

namespace vlm {

struct EngineState;

// Toggles a sample's flag, takes a legend element or the water level, or
// records another name as the selected object. Draws or posts what follows.
void selectObjectLocked(EngineState& state, int32_t name);
// Every flag 0, count 0, graphic cache invalid; posts HM_REFRESH, HM_HITS and a draw.
void clearSelectionLocked(EngineState& state);
// Every flag inverted and counted; posts HM_REFRESH, HM_HITS and a rebuild.
void invertSelectionLocked(EngineState& state);
// Removes the selected rows from the table in one stable pass (the rest keep
// their order; cells and row ids move together). With nothing selected nothing
// changes and false is returned. Otherwise clears the selection and posts
// HM_HITS and a rebuild.
bool deleteSelectedLocked(EngineState& state);

}  // namespace vlm
