#pragma once
// GL state of a new context, render quality and the light.
namespace vlm {
struct EngineState;
}

namespace vlm::render {

struct RenderContext;

// The fixed set-up sequence run once the new context is current.
void setUpGlState(EngineState& state, RenderContext& rc);

// (Re)makes the overlay font's glyph lists for the view's device-pixel ratio.
void makeOverlayFont(EngineState& state, RenderContext& rc);

// Applies render quality `requested` (1 high, anything else low) unless it equals
// the stored level; returns whether anything was applied. The stored level is 1
// or 3, so asking for 2 twice applies the low state twice.
bool applyRenderQuality(EngineState& state, int requested);

// Light 0 back to its position, the ambient colour from the colour settings,
// lighting on.
void resetLight(EngineState& state);

// The clear colour from the background colour setting.
void applyClearColour(EngineState& state);

}  // namespace vlm::render
