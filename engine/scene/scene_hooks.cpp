#include "engine/scene/scene_hooks.h"

#include "engine/engine_state.h"
#include "engine/input/interaction_hooks.h"
#include "engine/render/overlay_units.h"
#include "engine/scene/colour_bar_drag.h"
#include "engine/scene/frame_points.h"
#include "engine/scene/model_rebuild.h"
#include "model/normalise.h"
#include "model/tuning.h"
#include "scene/construction/object_array.h"
#include "scene/construction/object_labels.h"
#include "scene/overlays/database_tree.h"

namespace vlm {
namespace {

void tuningDrag(EngineState& state, int32_t mode) {
  InputState& in = state.main->input;
  const int32_t attribute = in.selectedObjectIndex;
  ModelContext ctx = modelContext(state);
  bool created = false;
  if (ensureTuningAssociationLocked(ctx, attribute, created) < 0) return;
  if (created) roundAndNormaliseLocked(ctx, state.view->space);
  const float p = render::overlayX(state.view->view, in.currentX.load()) -
                  static_cast<float>(state.model->scene.legend.sliderLeft);
  switch (mode) {
    case 14:
      tuneLegendLineLocked(ctx, attribute, in.currentX.load() - in.previousX, in.currentY.load() - in.previousY);
      break;
    case 15: tuneScaleHandleLocked(ctx, attribute, p); break;
    case 16: tuneMinimumLocked(ctx, attribute, p); break;
    case 17: tuneMaximumLocked(ctx, attribute, p); break;
    default: break;
  }
  state.view->view.cacheValid[CACHE_LEGEND] = false;
}

bool extentsOf(EngineState& state, float e[6]) {
  const SceneValues& sv = state.model->scene;
  if (!sv.extentsValid) return false;
  e[0] = sv.extents.xMin, e[1] = sv.extents.xMax;
  e[2] = sv.extents.yMin, e[3] = sv.extents.yMax;
  e[4] = sv.extents.zMin, e[5] = sv.extents.zMax;
  return true;
}

bool toggleTreeNode(EngineState& state, int32_t name) {
  const bool changed = scene::toggleTree(state.model->scene.tree, name,
                                         static_cast<int32_t>(state.data->accessObjects.size()));
  if (changed) state.view->view.cacheValid[CACHE_LEGEND] = false;
  return changed;
}

}  // namespace

void installSceneModelHooks(EngineState& state) {
  EngineState* s = &state;  // the hooks live in the state they point at
  ModelHooks& h = state.model->hooks;
  h.buildLabels = [s](const Association& pass) {
    s->model->scene.labelsPresent = true;
    scene::buildObjectLabels(s->model->objects, s->model->scene.labels, *s->data, pass.field, s->main->regional);
  };
  h.clearDefaultPlacement = [s] { scene::clearDefaultPlacement(s->model->objects); };
  if (!h.resolveTextures) {
    // Until textures can be loaded every object goes without one.
    h.resolveTextures = [s](const Association&) {
      s->view->view.texturesPresent = true;
      for (ObjectRecord& o : s->model->objects) o.texture = 0;
    };
  }
  if (!h.speechActive) {
    h.speechActive = [s](int32_t field) {
      s->model->scene.speechActive = true;
      s->model->scene.speechField = field;
    };
  }
}

void installSceneInteractionHooks() {
  InteractionHooks& h = interactionHooks();
  h.replaceObjects = replaceObjectsLocked;
  h.rebuildSpaceLists = invalidateSceneLists;
  // The positions carry no scale factors of their own: nothing to reset.
  h.resetPositionScales = [](EngineState&) {};
  h.tuningDrag = tuningDrag;
  h.renormalise = [](EngineState& state) {
    ModelContext ctx = modelContext(state);
    roundAndNormaliseLocked(ctx, state.view->space);
  };
  h.dataExtents = extentsOf;
  h.framePoints = spaceFramePoints;
  h.toggleTreeNode = toggleTreeNode;
  installColourBarDragHooks();
}

}  // namespace vlm
