#pragma once

namespace vlm {

struct EngineState;

// Stops a running load (host thread): sets the abort flag that every loader
// tests, stops the animation, and returns once the data lock is free. Host
// work sent meanwhile still runs, so a loader waiting on the host cannot
// deadlock with it. The flag stays set until the next load clears it.
void cancelAction(EngineState& state);

}  // namespace vlm
