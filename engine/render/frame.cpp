#include "engine/render/frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/engine_state.h"
#include "engine/render/overlay_units.h"
#include "engine/render/render_context.h"

namespace vlm::render {
namespace {

// Steps 3 to 7 of the frame: model-view, space, objects, water, textured space.
void drawSceneSteps(EngineState& state, FrameContent& content, const CameraSnapshot& camera) {
  ViewState& v = state.view->view;
  loadFrameModelView(v, camera);
  content.drawSpaceList(state, 0);
  glDepthFunc(GL_ALWAYS);
  content.drawSpaceList(state, 1);
  glDepthFunc(GL_LESS);
  content.drawSpaceList(state, 2);
  content.drawObjects(state);
  if (v.waterLevelState != 0) {
    glPushMatrix();
    glTranslatef(v.waterLevelPosition[0], v.waterLevelPosition[1], v.waterLevelPosition[2]);
    content.drawWater(state);
    glPopMatrix();
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
  content.drawTexturedSpace(state);
}

void drawOverlayStep(EngineState& state, FrameContent& content) {
  if (!content.overlaysOn(state)) return;
  const ViewState& v = state.view->view;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // Overlay pixels: window pixels, whatever the display's device-pixel ratio.
  const double scale = overlayScale(v);
  glOrtho(0.0, v.viewportWidth / scale, 0.0, v.viewportHeight / scale, -5.0, 5.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_LIGHTING);
  content.drawOverlays(state);
}

void swap(RenderContext& rc) {
  if (rc.window) rc.context->swapBuffers(rc.window);
  ++rc.framesDrawn;
}

void drawMono(EngineState& state, RenderContext& rc, FrameContent& content, const CameraSnapshot& camera,
              const std::function<void()>& beforeSwap) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  loadFrameProjection(state.view->view, camera, 0.0f);
  drawSceneSteps(state, content, camera);
  drawOverlayStep(state, content);
  if (beforeSwap) beforeSwap();
  swap(rc);
}

void drawStereo(EngineState& state, RenderContext& rc, FrameContent& content, const CameraSnapshot& camera,
                const std::function<void()>& beforeSwap) {
  const float eye = state.view->view.stereoEyeOffset;
  glDrawBuffer(GL_BACK_LEFT);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  loadFrameProjection(state.view->view, camera, eye);
  drawSceneSteps(state, content, camera);
  glFlush();

  glDrawBuffer(GL_BACK_RIGHT);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  loadFrameProjection(state.view->view, camera, -eye);
  drawSceneSteps(state, content, camera);
  glFlush();

  glDrawBuffer(GL_BACK);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  drawOverlayStep(state, content);
  if (beforeSwap) beforeSwap();
  swap(rc);
}

}  // namespace

FrameContent& frameContent(EngineState& state) {
  static FrameContent defaultContent;  // stateless: safe to share
  const auto& installed = state.view->view.frameContent;
  return installed ? *installed : defaultContent;
}

void loadFrameProjection(const ViewState& view, const CameraSnapshot& camera, float eyeShift) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(camera.fieldOfView, view.aspect, 1.0, 10000.0);
  if (eyeShift != 0.0f) glTranslatef(eyeShift, 0.0f, 0.0f);
  glMatrixMode(GL_MODELVIEW);
}

void loadFrameModelView(const ViewState& view, const CameraSnapshot& c) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_LIGHTING);
  glLightfv(GL_LIGHT0, GL_POSITION, view.lightPosition);  // fixed relative to the viewer
  glTranslatef(c.cameraTranslation[0], c.cameraTranslation[1], c.cameraTranslation[2]);
  glRotatef(c.rotation[0], 1.0f, 0.0f, 0.0f);
  glRotatef(c.rotation[1], 0.0f, 1.0f, 0.0f);
  glRotatef(c.rotation[2], 0.0f, 0.0f, 1.0f);
  glScalef(c.sceneScale, c.sceneScale, c.sceneScale);
  glTranslatef(-c.sceneCentre[0], -c.sceneCentre[1], -c.sceneCentre[2]);
}

void drawFrame(EngineState& state) { drawFrame(state, {}); }

void drawFrame(EngineState& state, const std::function<void()>& beforeSwap) {
  if (!state.view || !state.main || !state.model) return;
  std::shared_ptr<RenderContext> rc = state.view->view.render;
  if (!rc || !rc->context) return;
  FrameContent& content = frameContent(state);
  const CameraSnapshot camera = snapshotCamera(state.view->view);
  if (state.view->view.stereo.load() != 0 && rc->stereo)
    drawStereo(state, *rc, content, camera, beforeSwap);
  else
    drawMono(state, *rc, content, camera, beforeSwap);
}

}  // namespace vlm::render
