#pragma once
// The legend of the engine state: its layout from the associations, the colour
// model and the selection, and the rectangles that picking tests first.
#include <vector>

#include "scene/overlays/database_tree.h"
#include "scene/overlays/hot_rect.h"
#include "scene/overlays/legend_layout.h"

namespace vlm {

struct EngineState;
using scene::HotRect;

// The legend's top in overlay pixels (y up): the view's height less a host
// bar lying over it.
float legendTopOf(const EngineState& state);

// Lays the legend out (and the database tree of an Access source) from the
// current state; read under the data lock.
scene::LegendLayout legendLayoutOf(EngineState& state);
// The tree of an Access source with the tree enabled; false otherwise.
bool treeLayoutOf(EngineState& state, const scene::LegendLayout& legend, scene::TreeLayout& out);

// Lays the legend out again without drawing and registers its rectangles for
// the pick: {left, top, right, bottom, name} in overlay pixels, y up, in
// registration order (colour bar, legend lines and controls, tree). Empty while
// the legend is off. Engine thread, under the data lock.
std::vector<HotRect> layoutLegendForPicking(EngineState& state);

}  // namespace vlm
