#pragma once
// Where the scene plugs into the model operations and the input handlers.
namespace vlm {

struct EngineState;

// The model hooks of this state: labels, textures and the default placement
// during normalisation (once per state; engine thread).
void installSceneModelHooks(EngineState& state);

// The input handlers' hooks that the scene owns: re-placing, space lists,
// extents, legend tuning, renormalising, the database tree (once, at start).
void installSceneInteractionHooks();

}  // namespace vlm
