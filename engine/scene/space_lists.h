#pragma once
// The space's inputs gathered from the engine state, and the label font lists.
#include "engine/scene/scene_content.h"
#include "scene/space/space_geometry.h"

namespace vlm {

struct EngineState;

// Reads the space settings, the passes and the data table: call under the data lock.
scene::SpaceInput spaceInputOf(EngineState& state);

// Makes the label font lists for the label font row and the 3D switch unless the
// current ones were made for them. Needs the current context.
void ensureLabelFont(EngineState& state, SceneGl& gl);

}  // namespace vlm
