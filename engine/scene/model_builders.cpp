#include "engine/scene/model_builders.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "engine/camera/navigation.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/render/frame.h"
#include "engine/scene/model_rebuild.h"
#include "model/association_ops.h"
#include "model/color_ramps.h"
#include "model/space_settings_table.h"

namespace vlm {
namespace {

struct Builder {
  EngineState& state;
  ModelContext ctx;
  std::vector<bool> used;
  int32_t samples = 0;
  int32_t limit = 500;

  int32_t pick(FieldClass c) {
    return pickBuilderField(*state.data, state.model->scene.cursor, used, c);
  }
  // One association; the field (if any) is marked used.
  void bind(int32_t field, int32_t attribute, int32_t scale = -1) {
    associateFieldLocked(ctx, field, 0, attribute, scale, 0);
    if (field >= 0 && static_cast<size_t>(field) < used.size()) used[static_cast<size_t>(field)] = true;
    if (state.main->settings.animateBuilders != 0) {
      rebuildModelLocked(state, false);
      std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
  }
  void fixed(int32_t attribute, int32_t scale) { bind(-1, attribute, scale); }
  void turn(float x, float z) {
    ViewState& v = state.view->view;
    std::lock_guard lock(v.mutex);
    v.rotation[0] = x;
    v.rotation[1] = 0.0f;
    v.rotation[2] = z;
  }
  void turnZ(float z) {
    ViewState& v = state.view->view;
    std::lock_guard lock(v.mutex);
    v.rotation[2] = z;
  }
  void centreInMass() { state.view->space.rows[kRowCenterInMass].value = 1; }
};

void scatter(Builder& b) {
  b.turn(-89.0f, -30.0f);
  if (b.samples > 4 * b.limit) b.fixed(ATTRIB_SHAPE, 50);
  else if (b.samples < b.limit) b.fixed(ATTRIB_SHAPE, 80);
  int32_t last = -1;
  for (int32_t attribute : {ATTRIB_AXISX, ATTRIB_AXISY, ATTRIB_AXISZ}) {
    const int32_t f = b.pick(CLASS_NUMERIC);
    if (f < 0) break;
    b.bind(f, attribute);
    last = f;
  }
  const int32_t colour = b.pick(CLASS_ANY);
  if (colour < 0) {
    if (last >= 0) b.bind(last, ATTRIB_COLOR), b.bind(last, ATTRIB_SIZE);
    return;
  }
  b.bind(colour, ATTRIB_COLOR);
  const int32_t size = b.pick(CLASS_ANY);
  if (size >= 0) b.bind(size, ATTRIB_SIZE);
  else if (last >= 0) b.bind(last, ATTRIB_SIZE);
}

void bars(Builder& b) {
  b.turnZ(-90.0f);
  b.centreInMass();
  if (b.samples > 4 * b.limit) b.fixed(ATTRIB_SHAPE, 50), b.fixed(ATTRIB_ROTZ, 100);
  else if (b.samples < b.limit) b.fixed(ATTRIB_SHAPE, 120);
  bool height = false;
  int32_t f = b.pick(CLASS_NUMERIC);
  if (f >= 0) b.bind(f, ATTRIB_HEIGHT, 150), height = true;
  if (!height && (f = b.pick(CLASS_ANY)) >= 0) b.bind(f, ATTRIB_HEIGHT, 150);
  if ((f = b.pick(CLASS_ANY)) >= 0) b.bind(f, ATTRIB_COLOR);
  if ((f = b.pick(CLASS_ANY)) >= 0) b.bind(f, ATTRIB_BASE);
}

void tiles(Builder& b) {
  b.centreInMass();
  if (b.samples > 4 * b.limit) {
    b.fixed(ATTRIB_SIZE, 45), b.fixed(ATTRIB_ROTX, 100), b.fixed(ATTRIB_SHAPE, 50);
  } else {
    b.fixed(ATTRIB_BASE, 45), b.fixed(ATTRIB_HEIGHT, 10);
  }
  int32_t f = b.pick(CLASS_ANY);
  if (f < 0) return;
  b.bind(f, ATTRIB_COLOR);
  if ((f = b.pick(CLASS_ANY)) < 0) return;
  if (b.samples >= 300 && b.samples > 2 * b.limit) b.bind(f, ATTRIB_LABEL);
  else b.bind(f, ATTRIB_TEXTURE);
}

void layers(Builder& b) {
  b.turn(-75.0f, -30.0f);
  b.centreInMass();
  int32_t layer = b.pick(CLASS_CATEGORICAL);
  if (layer < 0) layer = b.pick(CLASS_ANY);
  if (layer < 0) return;
  b.bind(layer, ATTRIB_AXISZ);
  for (int32_t attribute : {ATTRIB_AXISX, ATTRIB_AXISY}) {
    const int32_t f = b.pick(CLASS_NUMERIC);
    if (f >= 0) b.bind(f, attribute);
  }
  b.bind(layer, ATTRIB_COLOR);
  if (b.samples < b.limit) b.fixed(ATTRIB_SHAPE, 80);
}

}  // namespace

bool fieldInClass(int32_t type, FieldClass c) {
  switch (c) {
    case CLASS_NUMERIC: return type == FT_INTEGER || type == FT_REAL || type == FT_DATETIME;
    case CLASS_CATEGORICAL: return type == FT_TEXT || type == FT_DATETIME || type == FT_TEXT2;
    default: return type != FT_NONE;
  }
}

void advanceBuilderCursor(BuilderCursor& c, int32_t fieldCount) {
  if (fieldCount <= 0) return;
  c.field += c.direction;
  if (c.field >= fieldCount - 1) {
    c.field = fieldCount - 1;
    c.direction = -1;
  }
  if (c.field <= 0) {
    c.field = 0;
    c.direction = 1;
  }
}

int32_t pickBuilderField(const DataTable& t, const BuilderCursor& c, const std::vector<bool>& used, FieldClass cls) {
  const int32_t n = t.fieldCount;
  if (n <= 0) return -1;
  const int32_t start = c.field < 0 ? 0 : c.field % n;
  for (int32_t k = 0; k < n; ++k) {
    const int32_t f = ((start + c.direction * k) % n + n) % n;
    if (static_cast<size_t>(f) < used.size() && used[static_cast<size_t>(f)]) continue;
    if (fieldInClass(t.fields[static_cast<size_t>(f)].type, cls)) return f;
  }
  return -1;
}

void resetModelLocked(EngineState& state) {
  {
    std::lock_guard lock(state.model->nameMutex);
    state.model->modelName.clear();
    state.model->modelPath.clear();
  }
  ModelContext ctx = modelContext(state);
  deleteAllAssociationsLocked(ctx);
  applyNamedRamp(ctx, 0, -1, 0, -1);
  state.model->saved = 1;
}

void buildDefaultModel(EngineState& state, int32_t type) {
  platform::DataLockGuard lock(state.main->dataLock);
  resetModelLocked(state);
  resetCameraPosition(state);
  resetModelPosition(state);
  state.model->scene.cursor.lastType = type;
  if (type < MODEL_SCATTER || type > MODEL_LAYERS) {
    postRefresh(state);
    rebuildModelLocked(state, true);
    return;
  }
  const DataTable& t = *state.data;
  if (t.rowCount <= 0) {
    setInitPosition(state);
    render::drawFrame(state);
    return;
  }
  state.model->saved = 1;
  state.model->scene.legend.showAllAttributes = false;
  advanceBuilderCursor(state.model->scene.cursor, t.fieldCount);
  Builder b{state, modelContext(state), std::vector<bool>(static_cast<size_t>(std::max(t.fieldCount, 0)), false),
            t.rowCount, std::max(1, state.main->loadControl.limit)};
  switch (type) {
    case MODEL_SCATTER: scatter(b); break;
    case MODEL_BARS: bars(b); break;
    case MODEL_TILES: tiles(b); break;
    default: layers(b); break;
  }
  state.model->saved = 1;
  rebuildModelLocked(state, true);
  setInitPosition(state);
  postRefresh(state);
}

}  // namespace vlm
