#pragma once
// What the default camera position must show: the space around the data (the
// lattices, planes, axes with their arrow heads) and where its texts stand.
#include <vector>

#include "engine/camera/camera_fit.h"

namespace vlm {

struct EngineState;

// The points of the current space with the pixels of their texts; false when
// the model cannot be read now (another thread changes it).
bool spaceFramePoints(EngineState& state, std::vector<FramePoint>& out);

}  // namespace vlm
