#include "engine/scene/colour_bar_drag.h"

#include "engine/engine_state.h"
#include "engine/input/interaction_hooks.h"
#include "engine/render/overlay_units.h"
#include "engine/scene/legend.h"
#include "model/color_entries.h"
#include "scene/overlays/legend_layout.h"

namespace vlm {
namespace {

// The mouse y (device pixels, y down) as a height in the legend's overlay pixels.
float heightOf(const EngineState& state, int y) { return render::overlayYUp(state.view->view, y); }

void scaleDrag(EngineState& state, int y) {
  platform::DataLockGuard lock(state.main->dataLock);
  ModelContext ctx = modelContext(state);
  dragColourScaleLocked(ctx, scene::colourScaleAtHeight(heightOf(state, y), legendTopOf(state)));
}

void stopDrag(EngineState& state, int stop, int y) {
  platform::DataLockGuard lock(state.main->dataLock);
  ModelContext ctx = modelContext(state);
  dragColourStopLocked(ctx, stop, scene::colourPositionAtHeight(heightOf(state, y), legendTopOf(state)));
}

int stopCount(EngineState& state) {
  platform::DataLockGuard lock(state.main->dataLock);
  return static_cast<int>(state.view->colorModel.entries.size());
}

}  // namespace

void installColourBarDragHooks() {
  InteractionHooks& h = interactionHooks();
  h.colourScaleDrag = scaleDrag;
  h.colourStopDrag = stopDrag;
  h.colourStopCount = stopCount;
}

}  // namespace vlm
