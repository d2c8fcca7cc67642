#pragma once
// The scene for the selection pass (GL_SELECT), drawn in immediate mode: Mesa
// crashes when a display list holding GLU quadrics is called in selection mode,
// so nothing here calls the object or shape lists. The caller sets up the pick
// projection, the frame's model-view and the name stack (glInitNames,
// glPushName); names are loaded as the frame's lists load them.
namespace vlm {

struct EngineState;

enum class SelectionPass {
  // Every drawn object under its sample index (3D labels too), and the water
  // level under 2000000000 while it is shown.
  ObjectsAndWater,
  // The axes (the list drawn with the depth test passing always): each half under
  // its line name, each arrow head under its arrow name.
  Axes,
};

void drawForSelection(EngineState& state, SelectionPass which);

}  // namespace vlm
