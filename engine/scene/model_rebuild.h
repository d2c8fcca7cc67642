#pragma once
// The model rebuild of the engine thread: default axis records, the object
// array, normalisation, placement, the scene centre and extents, and the
// invalidation of every scene list. All functions expect the caller to hold the
// data lock.
#include <cstdint>

namespace vlm {

struct EngineState;

// CMD_UPDATE_MODEL's parameter: any non-zero value resets the model position;
// this bit also keeps the position reached as the initial position (a model
// file just opened, whose extents are known only once its scene is rebuilt).
constexpr uintptr_t kUpdateModelKeepsInitPosition = 2;

// The whole rebuild; resets the model position when asked, then draws a frame.
void rebuildModelLocked(EngineState& state, bool resetPosition);

// Placement, centre and extents from the current normalised values (the legend
// drags re-place without normalising again).
void replaceObjectsLocked(EngineState& state);

// Clears the flags of every scene list so the next frame compiles them again.
void invalidateSceneLists(EngineState& state);

}  // namespace vlm
