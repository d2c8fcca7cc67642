#include "engine/scene/selection_draw.h"

#include <GL/gl.h>

#include "engine/engine_state.h"
#include "engine/render/object_drawing.h"
#include "engine/scene/scene_content.h"
#include "scene/construction/object_label_draw.h"
#include "scene/space/space_draw.h"

namespace vlm {

void drawForSelection(EngineState& state, SelectionPass which) {
  SceneContent* content = sceneContent(state);
  ViewState& v = state.view->view;
  if (which == SelectionPass::Axes) {
    if (content) scene::drawAxes(content->gl().geometry.axes, true);
    return;
  }
  render::drawObjectsImmediate(state, true);
  const ModelRecord& m = *state.model;
  if (content && m.scene.labelsPresent) {
    const scene::LabelFontRef font = content->labelFont(state);
    // Outline glyph lists hold polygons only, so they are safe to call here.
    if (font.outline) scene::drawObjectLabels(m.objects, m.selectionFlags, m.scene.labels, font, {});
  }
  if (v.waterLevelState.load() != 0 && content) {
    glPushMatrix();
    glTranslatef(v.waterLevelPosition[0], v.waterLevelPosition[1], v.waterLevelPosition[2]);
    scene::drawWaterQuad(content->gl().geometry.water, true);
    glPopMatrix();
  }
}

}  // namespace vlm
