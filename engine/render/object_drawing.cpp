#include "engine/render/object_drawing.h"

#include <GL/gl.h>

#include <algorithm>

#include "engine/engine_state.h"
#include "engine/render/frame_content.h"
#include "engine/render/render_context.h"
#include "scene/shapes/shape_cache.h"
#include "scene/shapes/shape_draw.h"

namespace vlm::render {
namespace {

size_t objectCount(const ModelRecord& m) {
  return std::min(static_cast<size_t>(std::max(m.objectCount, 0)), m.objects.size());
}

bool drawn(const ModelRecord& m, size_t i) { return i >= m.selectionFlags.size() || m.selectionFlags[i] != 0; }

void applyTransform(const ObjectRecord& o) {
  glTranslatef(o.x, o.y, o.z);
  glRotatef(o.rotX, 1.0f, 0.0f, 0.0f);
  glRotatef(o.rotY, 0.0f, -1.0f, 0.0f);
  glRotatef(o.rotZ, 0.0f, 0.0f, 1.0f);
}

template <typename DrawShape>
void forEachObject(EngineState& state, bool names, bool textures, DrawShape&& draw, const PickCull* cull = nullptr) {
  const ModelRecord& m = *state.model;
  const size_t n = objectCount(m);
  // The objects set their material themselves rather than through the colour:
  // Mesa's display lists drop a colour that never changes within a list, and
  // the colour-tracked material then kept whatever it held before (every
  // object came out grey when all had the same colour).
  glDisable(GL_COLOR_MATERIAL);
  for (size_t i = 0; i < n; ++i) {
    if (!drawn(m, i)) continue;
    const ObjectRecord& o = m.objects[i];
    if (cull && !cull->mayHit(o)) continue;
    glColor4f(o.red, o.green, o.blue, o.alpha);
    const GLfloat rgba[4] = {o.red, o.green, o.blue, o.alpha};
    glMaterialfv(GL_FRONT, GL_AMBIENT, rgba);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, rgba);
    if (names) glLoadName(static_cast<GLuint>(i));
    glPushMatrix();
    applyTransform(o);
    if (textures) glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(o.texture));
    draw(o);
    glPopMatrix();
  }
  glEnable(GL_COLOR_MATERIAL);
}

void beginTextures() {
  glEnable(GL_TEXTURE_2D);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

}  // namespace

scene::ShapeVariant objectVariant(const EngineState& state) {
  const ViewState& v = state.view->view;
  if (v.renderQuality != 1) return scene::SHAPE_WIREFRAME;
  return v.texturesPresent ? scene::SHAPE_TEXTURED : scene::SHAPE_SOLID;
}

void drawObjectList(EngineState& state, const std::function<void()>& drawFirst) {
  std::shared_ptr<RenderContext> rcp = state.view->view.render;
  if (!rcp || !state.model) return;
  RenderContext& rc = *rcp;
  ViewState& v = state.view->view;
  const scene::ShapeVariant variant = objectVariant(state);
  if (v.cacheValid[CACHE_OBJECTS] && rc.objectList != 0 && rc.objectVariant == variant) {
    glCallList(rc.objectList);
    return;
  }
  if (rc.objectList == 0) rc.objectList = glGenLists(1);
  v.cacheValid[CACHE_OBJECTS] = true;
  rc.objectVariant = variant;
  scene::beginShapeCacheUse(rc.shapes);
  scene::ShapeDrawTarget target;
  if (rc.objectList != 0) {
    glNewList(rc.objectList, GL_COMPILE_AND_EXECUTE);
    target.compilingObjectList = true;
  }
  if (drawFirst) drawFirst();
  const bool textured = variant == scene::SHAPE_TEXTURED;
  if (textured) beginTextures();
  forEachObject(state, variant != scene::SHAPE_WIREFRAME, textured, [&](const ObjectRecord& o) {
    scene::drawShape(rc.shapes, target, rc.quadric, scene::currentShapeIndex(o.shape), variant, o.width, o.depth,
                     o.height);
  });
  if (textured) glDisable(GL_TEXTURE_2D);
  if (target.compilingObjectList) glEndList();
  if (target.objectListEnded || rc.objectList == 0) v.cacheValid[CACHE_OBJECTS] = false;
  scene::trimShapeCache(rc.shapes, variant);
}

void drawObjectsImmediate(EngineState& state, bool withNames) {
  std::shared_ptr<RenderContext> rcp = state.view->view.render;
  if (!rcp || !state.model) return;
  const scene::ShapeVariant variant = objectVariant(state);
  const bool textured = variant == scene::SHAPE_TEXTURED;
  if (textured) beginTextures();
  const PickCull* cull = withNames && rcp->pickCull.active ? &rcp->pickCull : nullptr;
  forEachObject(
      state, withNames, textured,
      [&](const ObjectRecord& o) {
        scene::drawShapeImmediate(scene::currentShapeIndex(o.shape), variant, o.width, o.depth, o.height,
                                  rcp->quadric);
      },
      cull);
  if (textured) glDisable(GL_TEXTURE_2D);
}

void FrameContent::drawObjects(EngineState& state) { drawObjectList(state); }

bool FrameContent::overlaysOn(EngineState& state) {
  return state.view->view.legendOn || state.main->input.infoPanelOn != 0;
}

}  // namespace vlm::render
