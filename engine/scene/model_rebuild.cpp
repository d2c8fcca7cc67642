#include "engine/scene/model_rebuild.h"

#include <mutex>

#include "engine/camera/navigation.h"
#include "engine/engine_state.h"
#include "engine/render/frame.h"
#include "engine/scene/scene_content.h"
#include "model/association_lookup.h"
#include "model/normalise.h"
#include "model/space_settings_table.h"
#include "platform/clock.h"
#include "scene/construction/object_array.h"
#include "scene/construction/object_labels.h"
#include "scene/construction/placement.h"
#include "scene/construction/scene_centre.h"

namespace vlm {
namespace {

// The default records spread over the scene centre; a centre at the origin (the
// first rebuild, or "Center in Mass" off) would make them empty, so those keep
// -100..100.
void defaultAxisRecords(SpaceSettings& space, const float centre[3]) {
  if (centre[0] == 0.0f && centre[1] == 0.0f) resetAxisRecords(space);
  else setDefaultAxisRecords(space, centre[0], centre[1]);
}

// After placement the unassociated axes follow the new centre, so the lattice and
// the water cover the objects of this rebuild rather than of the previous one.
void refreshUnassociatedRecords(EngineState& state, const float centre[3]) {
  SpaceSettings& space = state.view->space;
  const AssociationSet& set = state.model->associations;
  const std::array<AxisRecord, 3> before = space.axes;
  defaultAxisRecords(space, centre);
  const int32_t axes[3] = {ATTRIB_AXISX, ATTRIB_AXISY, ATTRIB_AXISZ};
  for (int i = 0; i < 3; ++i)
    if (attributeToAssociation(set, axes[i]) >= 0) space.axes[static_cast<size_t>(i)] = before[static_cast<size_t>(i)];
    else {
      space.axes[static_cast<size_t>(i)].texturePath = before[static_cast<size_t>(i)].texturePath;
      space.axes[static_cast<size_t>(i)].textureNameOffset = before[static_cast<size_t>(i)].textureNameOffset;
      space.axes[static_cast<size_t>(i)].textureId = before[static_cast<size_t>(i)].textureId;
    }
}

}  // namespace

void invalidateSceneLists(EngineState& state) {
  for (auto& flag : state.view->view.cacheValid) flag = false;
  if (SceneContent* c = sceneContent(state)) c->gl().panelValid = false;
}

void replaceObjectsLocked(EngineState& state) {
  ModelRecord& m = *state.model;
  scene::PlacementInput in;
  in.associations = &m.associations;
  in.table = state.data.get();
  in.colour = &state.view->colorModel;
  in.jitterSeed = platform::tickCount();
  m.scene.vertical = scene::placeObjects(m.objects, in);
  SceneValues& sv = m.scene;
  sv.extentsValid = scene::computeExtents(m.objects, m.associations, state.view->space, sv.extents);
  const bool centreInMass = state.view->space.rows[kRowCenterInMass].value != 0;
  scene::sceneCentreOf(sv.extents, sv.extentsValid, centreInMass, sv.centre);
  {
    ViewState& v = state.view->view;
    std::lock_guard lock(v.mutex);
    for (int i = 0; i < 3; ++i) v.sceneCentre[i] = sv.centre[i];
  }
  refreshUnassociatedRecords(state, sv.centre);
  invalidateSceneLists(state);
}

void rebuildModelLocked(EngineState& state, bool resetPosition) {
  ensureSceneContent(state);
  ModelRecord& m = *state.model;
  if (m.hooks.stopSound) m.hooks.stopSound();
  SceneValues& sv = m.scene;
  defaultAxisRecords(state.view->space, sv.centre);

  const int32_t n = state.data ? state.data->rowCount.get() : 0;
  scene::layOutDefaultObjects(m.objects, n);
  m.objectCount = n;
  sv.labelsPresent = false;
  sv.labels.clear();
  sv.speechActive = false;
  sv.speechField = -1;
  state.view->view.texturesPresent = false;
  invalidateSceneLists(state);

  ModelContext ctx = modelContext(state);
  roundAndNormaliseLocked(ctx, state.view->space);

  replaceObjectsLocked(state);
  if (resetPosition) resetModelPosition(state);
  render::drawFrame(state);
}

}  // namespace vlm
