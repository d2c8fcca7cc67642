#pragma once
// One frame of the 3D view, in mono or stereo, in the fixed order of steps.
#include <functional>

#include "engine/view_state.h"

namespace vlm {
struct EngineState;
}

namespace vlm::render {

struct RenderContext;

// Draws and swaps; does nothing without a state or a context.
void drawFrame(EngineState& state);
// The same, running `beforeSwap` once the frame is complete in the back
// buffer (where a picture of it is read) and before it is shown.
void drawFrame(EngineState& state, const std::function<void()>& beforeSwap);

// The projection of the frame: perspective with the field of view and aspect,
// near 1, far 10000, shifted by `eyeShift` along x for a stereo eye.
void loadFrameProjection(const ViewState& view, const CameraSnapshot& camera, float eyeShift);
// The model-view of the frame: light position, camera translation, rotations
// about x, y and z, scene scale, minus the scene centre.
void loadFrameModelView(const ViewState& view, const CameraSnapshot& camera);

// The installed content, or the default one.
FrameContent& frameContent(EngineState& state);

}  // namespace vlm::render
