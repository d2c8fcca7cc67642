#pragma once
// What the pick asks of the scene: the legend's hot rectangles and the drawing
// of each selection pass. The scene installs its functions at start; until then
// the legend has no rectangles, the object pass draws the objects in immediate
// mode and the axis pass draws nothing.
#include <cstdint>
#include <functional>
#include <vector>

namespace vlm {

struct EngineState;

// A clickable rectangle of the legend, in overlay pixels with y upwards.
struct PickRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t name = -1;
};

enum class PickPass {
  Objects,  // every drawn object under its sample index, the water level under 2000000000
  Axes,     // only the always-visible space list (the axes)
};

struct PickSources {
  // Lays the legend out for picking (no drawing) and returns its rectangles in
  // registration order. Called only while the legend is on.
  std::function<std::vector<PickRect>(EngineState&)> legendRects;
  // Draws a pass with names; the pick has set up the projection, the frame's
  // model-view and the name stack. Must not call display lists holding GLU
  // quadrics (Mesa crashes on them in GL_SELECT mode).
  std::function<void(EngineState&, PickPass)> drawPass;
};

// The process-wide sources, with the defaults above.
PickSources& pickSources();

}  // namespace vlm
