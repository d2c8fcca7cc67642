#pragma once
// Creation and destruction of the rendering context on the host's 3D window.
namespace vlm {
struct EngineState;
}

namespace vlm::render {

// The format is checked against what was asked; a context that cannot be made
// reports "Unable to set OpenGL graphics format (1)", one without the asked
// buffers (stereo, depth, alpha, double buffer) "... (2)". Without
// `reportFailure` a failure is only returned.
bool openRenderContext(EngineState& state, bool reportFailure = true);
void closeRenderContext(EngineState& state);

}  // namespace vlm::render
