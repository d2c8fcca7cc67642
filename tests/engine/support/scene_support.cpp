#include "scene_support.h"

#include <GL/glu.h>

#include <QImage>

#include <algorithm>
#include <cstring>

#include "engine/commands/command_ids.h"
#include "engine/render/frame.h"
#include "engine/render/gl_setup.h"
#include "engine/render/render_commands.h"
#include "engine/scene/model_rebuild.h"
#include "model/color_ramps.h"
#include "model/color_schemes.h"
#include "model/space_settings_table.h"
#include "platform/command_queue.h"
#include "data/text_pool.h"

namespace vlm::test {

void SceneCapture::drawOverlays(EngineState& state) {
  SceneContent::drawOverlays(state);
  readBack(state);
  ++frames;
}

bool SceneCapture::save(const std::string& path) const {
  QImage image(width, height, QImage::Format_RGBA8888);
  for (int y = 0; y < height; ++y)
    std::memcpy(image.scanLine(height - 1 - y), pixels.data() + size_t(y) * width * 4, size_t(width) * 4);
  return image.save(QString::fromStdString(path));
}

std::shared_ptr<SceneCapture> openSceneView(EngineState& state, ViewHost& host) {
  fillDefaultSpaceSettings(state.view->space);
  applyDefaultColorScheme(state.view->space, 1);
  {
    ModelContext ctx = modelContext(state);
    applyNamedRamp(ctx, 0, -1, 0, -1);
  }
  state.main->hostWindow = host.host.get();
  auto capture = std::make_shared<SceneCapture>();
  render::setFrameContent(state, capture);
  ensureSceneContent(state);
  return openContext(state, host) ? capture : nullptr;
}

void buildCategories(DataTable& table, int32_t field) {
  DataField& f = table.fields[static_cast<size_t>(field)];
  std::vector<int32_t> pool;
  for (int32_t r = 0; r < table.rowCount; ++r)
    if (f.cells[static_cast<size_t>(r)].flags & kCellPresent) pool.push_back(f.cells[static_cast<size_t>(r)].value.i);
  std::sort(pool.begin(), pool.end(), [&](int32_t a, int32_t b) {
    return *poolText(table.textPool, a) < *poolText(table.textPool, b);
  });
  pool.erase(std::unique(pool.begin(), pool.end()), pool.end());
  f.distinct.clear();
  for (int32_t p : pool) {
    DistinctValue d;
    d.value = p;
    f.distinct.push_back(d);
  }
  f.distinctCount = static_cast<int32_t>(f.distinct.size());
  for (int32_t r = 0; r < table.rowCount; ++r) {
    Cell& c = f.cells[static_cast<size_t>(r)];
    c.engineWord = -1;
    for (size_t k = 0; k < pool.size(); ++k)
      if ((c.flags & kCellPresent) && pool[k] == c.value.i) c.engineWord = static_cast<int32_t>(k);
  }
}

void selectAll(EngineState& state) {
  // The engine thread may be drawing from the flags meanwhile.
  platform::DataLockGuard lock(state.main->dataLock);
  state.model->selectionFlags.assign(static_cast<size_t>(std::max(state.data->rowCapacity, state.data->rowCount.get())), 1);
  state.model->selectedCount = state.data->rowCount;
}

void rebuild(EngineState& state, bool resetPosition) {
  platform::DataLockGuard lock(state.main->dataLock);
  rebuildModelLocked(state, resetPosition);
}

std::array<int, 2> project(EngineState& state, float x, float y, float z) {
  const CameraSnapshot camera = snapshotCamera(state.view->view);
  render::loadFrameProjection(state.view->view, camera, 0.0f);
  render::loadFrameModelView(state.view->view, camera);
  GLdouble model[16], proj[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, proj);
  glGetIntegerv(GL_VIEWPORT, viewport);
  GLdouble wx = 0, wy = 0, wz = 0;
  gluProject(x, y, z, model, proj, viewport, &wx, &wy, &wz);
  return {static_cast<int>(wx + 0.5), static_cast<int>(wy + 0.5)};
}

}  // namespace vlm::test
