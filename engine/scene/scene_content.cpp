#include "engine/scene/scene_content.h"

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/render/object_drawing.h"
#include "engine/render/render_commands.h"
#include "engine/render/render_context.h"
#include "engine/scene/legend.h"
#include "engine/scene/panel_content.h"
#include "engine/scene/scene_hooks.h"
#include "engine/scene/scene_read_guard.h"
#include "engine/scene/space_lists.h"
#include "engine/worker_thread.h"
#include "model/space_settings_table.h"
#include "scene/construction/object_label_draw.h"
#include "scene/overlays/legend_draw.h"

namespace vlm {
namespace {

void deleteList(GLuint& id, GLsizei count = 1) {
  if (id != 0) glDeleteLists(id, count);
  id = 0;
}

void callIf(GLuint id) {
  if (id != 0) glCallList(id);
}

}  // namespace

bool SceneContent::ensureContext(EngineState& state) {
  const std::shared_ptr<render::RenderContext>& rc = state.view->view.render;
  if (!rc) return false;
  if (gl_.context == rc.get()) return true;
  // A new context: the old ids died with the old one.
  gl_ = SceneGl{};
  gl_.context = rc.get();
  const GLuint first = glGenLists(7);
  if (first != 0) {
    gl_.lattice = first, gl_.axes = first + 1, gl_.labels = first + 2, gl_.planes = first + 3;
    gl_.water = first + 4, gl_.legend = first + 5, gl_.panel = first + 6;
  }
  for (auto& flag : state.view->view.cacheValid) flag = false;
  return true;
}

scene::LabelFontRef SceneContent::labelFont(EngineState& state) {
  scene::LabelFontRef f;
  if (!gl_.labelFontMade) return f;
  f.base = gl_.labelFontBase;
  f.outline = gl_.labelFontOutline;
  f.metrics = &gl_.labelMetrics;
  f.sizeFactor = state.view->space.rows[kRowLabelFont].secondary;
  return f;
}

void SceneContent::compileSpace(EngineState& state) {
  ViewState& v = state.view->view;
  SceneReadGuard read(state.main->dataLock);
  if (!read.ok()) return;  // another thread changes the model: keep the lists as they are
  ensureLabelFont(state, gl_);
  gl_.geometry = scene::buildSpaceGeometry(spaceInputOf(state));
  glNewList(gl_.lattice, GL_COMPILE);
  scene::drawLattices(gl_.geometry);
  glEndList();
  glNewList(gl_.axes, GL_COMPILE);
  scene::drawAxes(gl_.geometry.axes, true);
  glEndList();
  glNewList(gl_.labels, GL_COMPILE);
  scene::drawSpaceTexts(gl_.geometry, labelFont(state));
  glEndList();
  glNewList(gl_.planes, GL_COMPILE);
  scene::drawPlanes(gl_.geometry);
  glEndList();
  glNewList(gl_.water, GL_COMPILE);
  scene::drawWaterQuad(gl_.geometry.water, true);
  glEndList();
  v.cacheValid[CACHE_SPACE] = true;
  v.cacheValid[CACHE_TEXTURED_SPACE] = true;
  v.cacheValid[CACHE_WATER_LEVEL] = true;
}

void SceneContent::drawSpaceList(EngineState& state, int which) {
  if (!ensureContext(state) || gl_.lattice == 0) return;
  ViewState& v = state.view->view;
  if (which == 0 && (!v.cacheValid[CACHE_SPACE] || !v.cacheValid[CACHE_TEXTURED_SPACE] || !v.cacheValid[CACHE_WATER_LEVEL]))
    compileSpace(state);
  callIf(which == 0 ? gl_.lattice : which == 1 ? gl_.axes : gl_.labels);
}

void SceneContent::drawObjects(EngineState& state) {
  if (!ensureContext(state)) return;
  ViewState& v = state.view->view;
  render::RenderContext& rc = *v.render;
  if (v.cacheValid[CACHE_OBJECTS] && rc.objectList != 0 && rc.objectVariant == render::objectVariant(state)) {
    glCallList(rc.objectList);
    return;
  }
  SceneReadGuard read(state.main->dataLock);
  if (!read.ok()) {
    callIf(rc.objectList);  // the last compiled objects until the model is free again
    return;
  }
  const ModelRecord& m = *state.model;
  const bool labels = m.scene.labelsPresent && m.scene.labels.count() > 0;
  if (labels) ensureLabelFont(state, gl_);
  const SpaceSettings& space = state.view->space;
  scene::ObjectLabelStyle style;
  style.colourByObject = space.rows[kRowLabelColorByObject].value != 0;
  for (int i = 0; i < 4; ++i) style.rgba[i] = space.rows[kRowLabelColor].rgba[i];
  const scene::LabelFontRef font = labelFont(state);
  render::drawObjectList(state, [&] {
    if (labels) scene::drawObjectLabels(m.objects, m.selectionFlags, m.scene.labels, font, style);
  });
}

void SceneContent::drawWater(EngineState& state) {
  if (!ensureContext(state)) return;
  callIf(gl_.water);
  SceneReadGuard read(state.main->dataLock);
  if (!read.ok() || !gl_.labelFontMade) return;
  const std::string text = scene::waterValueText(state.model->scene.vertical, state.view->view.waterLevelPosition[2]);
  if (text.empty()) return;
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIST_BIT);
  glDisable(GL_LIGHTING);
  glColor4f(1.0f, 0.2f, 0.2f, 1.0f);
  scene::LabelFontRef font = labelFont(state);
  if (font.outline) {
    // The value label is always a bitmap string: draw it with the overlay font.
    font.base = state.view->view.render->bitmapFontBase;
    font.outline = false;
    font.metrics = nullptr;
  }
  scene::drawTextAt(font, {0.0f, 0.0f, 2.0f}, text.data(), text.size(), false);
  glPopAttrib();
}

void SceneContent::drawTexturedSpace(EngineState& state) {
  if (!ensureContext(state)) return;
  callIf(gl_.planes);
}

bool SceneContent::overlaysOn(EngineState& state) {
  return state.view->view.legendOn.load() || state.main->input.infoPanelOn != 0;
}

void SceneContent::compileLegend(EngineState& state) {
  ViewState& v = state.view->view;
  SceneReadGuard read(state.main->dataLock);
  if (!read.ok()) {
    callIf(gl_.legend);
    return;
  }
  const scene::LegendLayout layout = legendLayoutOf(state);
  scene::TreeLayout tree;
  const bool hasTree = treeLayoutOf(state, layout, tree);
  legendHot = layout.hot;
  if (hasTree) legendHot.insert(legendHot.end(), tree.hot.begin(), tree.hot.end());
  LegendState& ls = state.model->scene.legend;
  ls.sliderLeft = layout.slider.shown ? static_cast<int32_t>(layout.slider.left) : 0;
  scene::LegendColours colours;
  for (int i = 0; i < 4; ++i) colours.text[i] = state.view->space.rows[kRowMenuColor].rgba[i];
  const GLuint font = v.render->bitmapFontBase;
  v.cacheValid[CACHE_LEGEND] = true;
  glNewList(gl_.legend, GL_COMPILE_AND_EXECUTE);
  scene::drawLegend(layout, font, colours);
  if (hasTree) scene::drawTree(tree, font, colours.text);
  glEndList();
  if (layout.widthGrew) {
    ls.widestLine = layout.width;
    // The frame uses the new width from the next frame on: redraw once.
    v.cacheValid[CACHE_LEGEND] = false;
    postEngine(state, CMD_DRAW_SCENE);
  }
}

void SceneContent::drawPanel(EngineState& state) {
  const InputState& in = state.main->input;
  if (in.infoPanelOn == 0 || in.highlightedObject < 0) return;
  if (gl_.panelValid && gl_.panelObject == in.highlightedObject) {
    callIf(gl_.panel);
    return;
  }
  SceneReadGuard read(state.main->dataLock);
  if (!read.ok()) return;
  if (in.highlightedObject >= state.data->rowCount) return;
  const scene::PanelLayout layout = scene::layOutPanel(panelInputOf(state, in.highlightedObject));
  gl_.panelObject = in.highlightedObject;
  gl_.panelValid = true;
  glNewList(gl_.panel, GL_COMPILE_AND_EXECUTE);
  scene::drawPanel(layout, state.view->view.render->bitmapFontBase);
  glEndList();
}

void SceneContent::drawOverlays(EngineState& state) {
  if (!ensureContext(state) || gl_.legend == 0) return;
  ViewState& v = state.view->view;
  if (v.legendOn.load()) {
    if (v.cacheValid[CACHE_LEGEND]) callIf(gl_.legend);
    else compileLegend(state);
  }
  if (state.main->input.infoPanelOn == 0) gl_.panelValid = false;  // shown afresh at the next click
  drawPanel(state);
}

void SceneContent::releaseGl(EngineState& state) {
  if (!state.view->view.render || gl_.context != state.view->view.render.get()) return;
  deleteList(gl_.lattice, 7);
  deleteList(gl_.labelFontBase, scene::kLabelFontLists);
  gl_ = SceneGl{};
}

SceneContent* sceneContent(EngineState& state) {
  return dynamic_cast<SceneContent*>(state.view->view.frameContent.get());
}

SceneContent& ensureSceneContent(EngineState& state) {
  if (!state.model->hooks.buildLabels) installSceneModelHooks(state);
  if (SceneContent* c = sceneContent(state)) return *c;
  auto content = std::make_shared<SceneContent>();
  SceneContent& ref = *content;
  render::setFrameContent(state, std::move(content));
  return ref;
}

}  // namespace vlm
