#pragma once
// Where sound and speech join the rest of the engine: the record in
// EngineState, the model hooks of the scene construction (start and stop
// sound, speech found, the field name spoken) and the click on a sample.
namespace vlm {

struct EngineState;

// Makes the state's sound record and installs its model hooks; at start,
// before the worker threads run.
void installSoundHooks(EngineState& state);

}  // namespace vlm
