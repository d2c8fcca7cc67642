#pragma once
// Camera navigation: the response curve, the view update that turns a mouse
// step into a camera move, the spin animation and the camera resets.
#include <cstdint>

namespace vlm {

struct EngineState;

// r(d) = sign(d) x (|d| x 0.4)^1.3, 0 for d = 0.
float navigationResponse(float d);

// The view update: water-level drag, legend-handle drags, or one navigation
// step by the navigation mode, then a frame.
void viewUpdate(EngineState& state);

// Clears animation on and the spin increments and tells the host it is idle.
void stopAnimation(EngineState& state);
// vlm_Animation: 1 starts the spin when animation is allowed, 0 stops it.
void setAnimation(EngineState& state, int on);
// Queues one CMD_ANIMATE unless one is already queued.
void postAnimationStep(EngineState& state);
// One spin step (CMD_ANIMATE).
void animationStep(EngineState& state);

void resetCameraPosition(EngineState& state);
void resetModelPosition(EngineState& state);
void setInitPosition(EngineState& state);
// Restores the stored initial position; without one the default rotation (0).
int getInitPosition(EngineState& state);
void setFieldOfView(EngineState& state, float degrees);
float getFieldOfView(const EngineState& state);

// The navigation speed for a table of `rows` samples: the eighth root of
// max(rows, 250), at least 1.
float navigationSpeedFor(int64_t rows);

}  // namespace vlm
