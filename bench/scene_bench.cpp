// Scene construction at 10k, 100k and 1M rows with the Scatter model: the rebuild
// (normalise, place, compile the object and space lists), the frame with every
// list compiled, memory per object, and what labels cost at 1M rows, both as
// runs of character codes in the object list and as one display list per object.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <chrono>
#include <memory>

#include "data/table_growth.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/render/frame.h"
#include "engine/render/render_commands.h"
#include "engine/render/render_context.h"
#include "engine/scene/model_rebuild.h"
#include "engine/scene/scene_content.h"
#include "model/association_ops.h"
#include "model/color_ramps.h"
#include "model/color_schemes.h"
#include "model/space_settings_table.h"
#include "support/gl_view.h"

namespace {

using namespace vlm;

struct SceneView : bench::GlView {
  int32_t rows = 0;

  SceneView()
      : GlView([](EngineState& s) {
          fillDefaultSpaceSettings(s.view->space);
          applyDefaultColorScheme(s.view->space, 2);
          ensureSceneContent(s);
        }) {
    auto& v = state->view->view;
    v.rotation[0] = -89.0f;
    v.rotation[2] = -30.0f;
  }

  // Four real fields of n rows, filled as a loader leaves them, every row selected.
  void fill(int32_t n) {
    if (rows == n) return;
    DataTable& t = *state->data;
    platform::DataLockGuard lock(state->main->dataLock);
    ModelContext ctx = modelContext(*state);
    deleteAllAssociationsLocked(ctx);
    t = DataTable{};
    t.sourceKind = DSK_CLIPBOARD;
    t.fieldCount = 5;
    const char* names[5] = {"x", "y", "z", "c", "label"};
    for (int f = 0; f < 5; ++f) {
      DataField& field = t.fields[static_cast<size_t>(f)];
      std::snprintf(field.name, sizeof field.name, "%s", names[f]);
      field.type = f == 4 ? FT_INTEGER : FT_REAL;
      field.flags = kFieldValid;
    }
    growRows(t, n);
    uint32_t seed = 1;
    auto next = [&] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    for (int f = 0; f < 5; ++f) {
      DataField& field = t.fields[static_cast<size_t>(f)];
      for (int32_t r = 0; r < n; ++r) {
        Cell& cell = field.cells[static_cast<size_t>(r)];
        cell.flags = kCellPresent;
        if (f == 4) cell.value.i = r;
        else cell.value.f = static_cast<float>(next() % 100000) * 0.01f;
      }
      if (f == 4) field.min.i = 0, field.max.i = n - 1;
      else field.min.f = 0.0f, field.max.f = 999.99f;
    }
    t.rowCount = t.sourceRowCount = n;
    state->model->selectionFlags.assign(static_cast<size_t>(t.rowCapacity), 1);
    associateFieldLocked(ctx, -1, 0, ATTRIB_SHAPE, 50, 0);
    associateFieldLocked(ctx, 0, 0, ATTRIB_AXISX, -1, 0);
    associateFieldLocked(ctx, 1, 0, ATTRIB_AXISY, -1, 0);
    associateFieldLocked(ctx, 2, 0, ATTRIB_AXISZ, -1, 0);
    associateFieldLocked(ctx, 3, 0, ATTRIB_COLOR, -1, 0);
    associateFieldLocked(ctx, 3, 0, ATTRIB_SIZE, -1, 0);
    applyNamedRamp(ctx, 0, 3, FT_REAL, -1);
    rows = n;
  }
  void setLabels(bool on) {
    platform::DataLockGuard lock(state->main->dataLock);
    ModelContext ctx = modelContext(*state);
    if (on) associateFieldLocked(ctx, 4, 0, ATTRIB_LABEL, -1, 0);
    else if (const int32_t i = attributeToAssociationIndex(); i >= 0) deleteAssociationLocked(ctx, i);
  }
  int32_t attributeToAssociationIndex() {
    const AssociationSet& s = state->model->associations;
    for (int32_t i = 0; i < s.count; ++i)
      if (attributeOf(s.passes[static_cast<size_t>(i)]) == ATTRIB_LABEL) return i;
    return -1;
  }
  void rebuild() {
    platform::DataLockGuard lock(state->main->dataLock);
    rebuildModelLocked(*state, true);
  }
  // A rebuild whose objects had shape lists to compile leaves the list invalid:
  // draw until it holds.
  void settle() {
    for (int i = 0; i < 4 && !state->view->view.cacheValid[CACHE_OBJECTS]; ++i) render::drawFrame(*state);
  }
};

SceneView& view() {
  static SceneView* v = new SceneView;
  return *v;
}

void memoryCounters(benchmark::State& st, const SceneView& v) {
  const double perObject = sizeof(ObjectRecord) + 1.0 /* selection flag */ +
                           sizeof(float) * static_cast<double>(v.state->model->associations.count);
  st.counters["bytes/object"] = perObject;
  st.counters["objects"] = static_cast<double>(v.state->model->objectCount);
}

void BM_SceneRebuild(benchmark::State& st) {
  SceneView& v = view();
  if (!v.ok) {
    st.SkipWithError("no GL context");
    return;
  }
  v.fill(static_cast<int32_t>(st.range(0)));
  v.setLabels(false);
  v.rebuild();
  v.settle();  // the shape lists exist from here on, as after the first rebuild
  for (auto _ : st) {
    v.rebuild();
    glFinish();
  }
  memoryCounters(st, v);
}
BENCHMARK(BM_SceneRebuild)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SceneFrame(benchmark::State& st) {
  SceneView& v = view();
  if (!v.ok) {
    st.SkipWithError("no GL context");
    return;
  }
  v.fill(static_cast<int32_t>(st.range(0)));
  v.setLabels(false);
  v.rebuild();
  v.settle();
  for (auto _ : st) {
    render::drawFrame(*v.state);
    glFinish();
  }
  st.counters["list valid"] = v.state->view->view.cacheValid[CACHE_OBJECTS] ? 1 : 0;
}
BENCHMARK(BM_SceneFrame)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Labels as runs of codes in the object list: the rebuild with a label association.
void BM_SceneRebuildWithLabels(benchmark::State& st) {
  SceneView& v = view();
  if (!v.ok) {
    st.SkipWithError("no GL context");
    return;
  }
  v.fill(static_cast<int32_t>(st.range(0)));
  v.setLabels(true);
  v.rebuild();
  v.settle();
  for (auto _ : st) {
    v.rebuild();
    glFinish();
  }
  const LabelStore& labels = v.state->model->scene.labels;
  st.counters["label bytes/object"] =
      static_cast<double>(labels.chars.size() + labels.offsets.size() * sizeof(uint32_t)) /
      static_cast<double>(std::max<int32_t>(1, v.state->model->objectCount));
  v.setLabels(false);
}
BENCHMARK(BM_SceneRebuildWithLabels)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);

// What one display list per object costs: n ids from glGenLists, each compiled
// with the label's codes, then deleted (the way of keeping a list id per object).
void BM_PerObjectLabelLists(benchmark::State& st) {
  SceneView& v = view();
  if (!v.ok) {
    st.SkipWithError("no GL context");
    return;
  }
  const auto n = static_cast<GLsizei>(st.range(0));
  GLuint fontBase = v.state->view->view.render->bitmapFontBase;
  double failed = 0;
  for (auto _ : st) {
    const GLuint first = glGenLists(n);
    if (first == 0) {
      failed = 1;
      continue;
    }
    char text[16];
    glListBase(fontBase);
    for (GLsizei i = 0; i < n; ++i) {
      const int len = std::snprintf(text, sizeof text, "%d", static_cast<int>(i));
      glNewList(first + static_cast<GLuint>(i), GL_COMPILE);
      glCallLists(len, GL_UNSIGNED_BYTE, text);
      glEndList();
    }
    glListBase(0);
    glFinish();
    glDeleteLists(first, n);
  }
  st.counters["glGenLists failed"] = failed;
}
BENCHMARK(BM_PerObjectLabelLists)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
