#include "engine/picking/pick.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/engine_state.h"
#include "engine/picking/hit_records.h"
#include "engine/picking/pick_sources.h"
#include "engine/render/frame.h"
#include "engine/render/overlay_units.h"
#include "engine/render/render_context.h"

namespace vlm {
namespace {

constexpr uint32_t kLegendNamesEnd = 2001000000u;
constexpr uint32_t kAxisNamesEnd = 2000000200u;

int32_t legendName(EngineState& state, int x, int y) {
  const ViewState& v = state.view->view;
  if (!v.legendOn || !pickSources().legendRects) return -1;
  // The legend is laid out in overlay pixels.
  const float ox = render::overlayX(v, x), up = render::overlayYUp(v, y);
  for (const PickRect& r : pickSources().legendRects(state)) {
    if (ox < float(r.left) || ox > float(r.right) || up < float(r.bottom) || up > float(r.top)) continue;
    // Only the first rectangle that holds the point counts.
    const auto name = static_cast<uint32_t>(r.name);
    return name != 0 && name < kLegendNamesEnd ? r.name : -1;
  }
  return -1;
}

}  // namespace

int32_t pickPass(EngineState& state, int x, int y, int size, int passKind, int* hitCount) {
  ViewState& v = state.view->view;
  auto& buffer = state.main->selectionBuffer;
  const int32_t words = pick::selectionBufferWords(state.data ? state.data->rowCount.get() : 0, buffer.size());
  if (hitCount) *hitCount = 0;
  if (words <= 0) return -1;
  const CameraSnapshot camera = snapshotCamera(v);
  glSelectBuffer(words, buffer.data());
  glRenderMode(GL_SELECT);
  GLint viewport[4] = {0, 0, v.viewportWidth, v.viewportHeight};
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPickMatrix(x, v.viewportHeight - y, size, size, viewport);
  gluPerspective(camera.fieldOfView, v.aspect, 1.0, 10000.0);
  glMatrixMode(GL_MODELVIEW);
  glInitNames();
  glPushName(0xFFFFFFFFu);
  render::loadFrameModelView(v, camera);
  std::shared_ptr<render::RenderContext> rc = v.render;
  const bool objects = passKind == static_cast<int>(PickPass::Objects);
  if (rc && objects) rc->pickCull.loadFromGl();
  if (pickSources().drawPass) {
    if (!objects) glDepthFunc(GL_ALWAYS);
    pickSources().drawPass(state, static_cast<PickPass>(passKind));
    glDepthFunc(GL_LESS);
  }
  if (rc) rc->pickCull.active = false;
  glFlush();
  const GLint hits = glRenderMode(GL_RENDER);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  if (hitCount) *hitCount = hits;
  return pick::nearestHitName(buffer.data(), static_cast<size_t>(words), hits);
}

int32_t pickAt(EngineState& state, int x, int y) {
  if (!state.view || !state.main || !state.model) return -1;
  std::shared_ptr<render::RenderContext> rc = state.view->view.render;
  if (!rc || !rc->context) return -1;
  const int32_t legend = legendName(state, x, y);
  if (legend != -1) return legend;
  if (state.main->selectionBuffer.empty()) return -1;

  ViewState& v = state.view->view;
  int hits = 0;
  int32_t name = pickPass(state, x, y, 3, static_cast<int>(PickPass::Objects), &hits);
  // The legend was laid out for measuring only: compile it again for the frame.
  v.cacheValid[CACHE_LEGEND] = false;
  if (hits == 0) {
    const int32_t axis = pickPass(state, x, y, 8, static_cast<int>(PickPass::Axes), nullptr);
    const auto u = static_cast<uint32_t>(axis);
    name = u != 0 && u < kAxisNamesEnd ? axis : -1;
  }
  return name;
}

}  // namespace vlm
