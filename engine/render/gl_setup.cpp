#include "engine/render/gl_setup.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/engine_state.h"
#include "engine/render/bitmap_font.h"
#include "engine/render/gl_strings.h"
#include "engine/render/overlay_units.h"
#include "engine/render/render_context.h"
#include "scene/shapes/shape_cache.h"

namespace vlm::render {
namespace {

constexpr int kBackgroundRow = 0;
constexpr int kLightColourRow = 1;
constexpr float kLightPosition[4] = {-12.5f, 50.0f, 50.0f, 0.0f};

void recreateSceneLists(RenderContext& rc) {
  scene::clearShapeCache(rc.shapes);
  if (rc.objectList != 0) glDeleteLists(rc.objectList, 1);
  rc.objectList = glGenLists(1);
}

}  // namespace

void applyClearColour(EngineState& state) {
  const float* c = state.view->space.rows[kBackgroundRow].rgba;
  glClearColor(c[0], c[1], c[2], c[3]);
}

void resetLight(EngineState& state) {
  ViewState& v = state.view->view;
  for (int i = 0; i < 4; ++i) v.lightPosition[i] = kLightPosition[i];
  glLightfv(GL_LIGHT0, GL_POSITION, v.lightPosition);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, state.view->space.rows[kLightColourRow].rgba);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
}

void makeOverlayFont(EngineState& state, RenderContext& rc) {
  if (rc.bitmapFontBase != 0) glDeleteLists(rc.bitmapFontBase, kFontListCount);
  rc.bitmapFontBase = glGenLists(kFontListCount);
  rc.fontPixelRatio = overlayScale(state.view->view);
  if (rc.bitmapFontBase != 0) {
    const FontMetricsResult m = makeBitmapFontLists(rc.bitmapFontBase, rc.fontPixelRatio);
    rc.fontHeight = m.charHeight;
    rc.fontMaxWidth = m.maxCharWidth;
  }
}

void setUpGlState(EngineState& state, RenderContext& rc) {
  ViewState& v = state.view->view;
  readGlStrings(v);
  recreateSceneLists(rc);
  for (auto& flag : v.cacheValid) flag = false;

  if (rc.quadric) gluDeleteQuadric(rc.quadric);
  rc.quadric = gluNewQuadric();
  if (rc.quadric) {
    gluQuadricDrawStyle(rc.quadric, GLU_FILL);
    gluQuadricNormals(rc.quadric, GLU_SMOOTH);
  }

  glPointSize(3.0f);
  glPolygonMode(GL_FRONT, GL_FILL);
  glShadeModel(GL_SMOOTH);

  glEnable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_ALPHA_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

  if (!v.colorTextures) {
    // One-bit text images: index 1 (ink) draws black, index 0 white.
    const GLfloat map[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    glPixelMapfv(GL_PIXEL_MAP_I_TO_R, 4, map);
    glPixelMapfv(GL_PIXEL_MAP_I_TO_G, 4, map);
    glPixelMapfv(GL_PIXEL_MAP_I_TO_B, 4, map);
    glPixelTransferi(GL_MAP_COLOR, GL_TRUE);
  }

  applyClearColour(state);

  glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
  glEnable(GL_COLOR_MATERIAL);

  resetLight(state);

  makeOverlayFont(state, rc);

  if (v.renderQuality != 1) {
    v.renderQuality = 3;  // force the switch below to apply
    applyRenderQuality(state, 1);
  }
}

bool applyRenderQuality(EngineState& state, int requested) {
  ViewState& v = state.view->view;
  if (requested == v.renderQuality) return false;
  if (requested == 1) {
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_POLYGON_SMOOTH);
    glPolygonMode(GL_FRONT, GL_FILL);
    glShadeModel(GL_SMOOTH);
    v.renderQuality = 1;
    v.wireframe = 0;
  } else {
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_POLYGON_SMOOTH);
    glPolygonMode(GL_FRONT, GL_LINE);
    glShadeModel(GL_FLAT);
    v.renderQuality = 3;
    v.wireframe = 1;
  }
  v.cacheValid[CACHE_OBJECTS] = false;
  return true;
}

}  // namespace vlm::render
