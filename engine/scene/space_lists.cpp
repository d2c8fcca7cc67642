#include "engine/scene/space_lists.h"

#include "engine/engine_state.h"
#include "engine/render/overlay_units.h"
#include "model/space_settings_table.h"

namespace vlm {

scene::SpaceInput spaceInputOf(EngineState& state) {
  scene::SpaceInput in;
  in.space = &state.view->space;
  in.associations = &state.model->associations;
  in.table = state.data.get();
  in.regional = state.main->regional;
  in.extents = state.model->scene.extents;
  return in;
}

void ensureLabelFont(EngineState& state, SceneGl& gl) {
  SpaceSettings& space = state.view->space;
  SpaceSetting& fontRow = space.rows[kRowLabelFont];
  const bool outline = space.rows[kRowLabel3D].value != 0;
  const int32_t depth = space.rows[kRowLabel3DDepth].value;
  if (gl.labelFontMade && fontRow.fontListsValid && gl.labelFontOutline == outline && gl.labelFontDepth == depth)
    return;
  if (gl.labelFontBase == 0) gl.labelFontBase = glGenLists(scene::kLabelFontLists);
  if (gl.labelFontBase == 0) return;
  // Bitmap labels are drawn in device pixels: their font grows with the display's ratio.
  const QFont font = scene::labelQFont(space.labelFont, outline ? 1.0f : render::overlayScale(state.view->view));
  gl.labelMetrics = outline ? scene::makeOutlineGlyphLists(gl.labelFontBase, font, static_cast<float>(depth) * 0.1f)
                            : scene::makeBitmapGlyphLists(gl.labelFontBase, font);
  gl.labelFontMade = true;
  gl.labelFontOutline = outline;
  gl.labelFontDepth = depth;
  fontRow.fontListsValid = true;
  // Texts that were compiled with the other font must be compiled again.
  state.view->view.cacheValid[CACHE_OBJECTS] = false;
  state.view->view.cacheValid[CACHE_SPACE] = false;
}

}  // namespace vlm
