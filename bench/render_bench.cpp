// Frame time and object-list compile time for many boxes and spheres on the
// software rasteriser, with the number of shape lists cached.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <memory>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/render/frame.h"
#include "engine/render/render_commands.h"
#include "engine/render/render_context.h"
#include "scene/shapes/shape_cache.h"
#include "support/gl_view.h"

namespace {

struct View : vlm::bench::GlView {
  View()
      : GlView([](vlm::EngineState& s) {
          for (float& c : s.view->space.rows[1].rgba) c = 0.3f;
        }) {
    auto& v = state->view->view;
    v.cameraTranslation[2] = -900.0f;
    v.rotation[0] = -60.0f;
  }
};

// Kept for the life of the process: its window must not outlive the application
// object in a static destructor.
View& view() {
  static View* v = new View;
  return *v;
}

// n objects of one shape on a square grid; sizes repeat in 8 steps so that the
// cached shapes share a handful of lists.
void placeObjects(vlm::EngineState& s, int n, int shape) {
  auto& m = *s.model;
  m.objects.assign(n, vlm::ObjectRecord{});
  int side = 1;
  while (side * side < n) ++side;
  const float step = 500.0f / side;
  for (int i = 0; i < n; ++i) {
    auto& o = m.objects[i];
    o.x = (i % side) * step - 250.0f;
    o.y = (i / side) * step - 250.0f;
    o.shape = static_cast<uint8_t>(shape << 4);
    o.width = o.depth = step * 0.5f;
    o.height = step * (0.5f + 0.1f * float(i % 8));
    o.red = float(i % 3) / 2, o.green = 0.5f, o.blue = 0.8f;
  }
  m.objectCount = n;
  m.selectionFlags.assign(n, 1);
  s.view->view.cacheValid[vlm::CACHE_OBJECTS] = false;
}

void drawFinished(vlm::EngineState& s) {
  vlm::render::drawFrame(s);
  glFinish();
}

void BM_CompileObjects(benchmark::State& st) {
  View& v = view();
  if (!v.ok) return st.SkipWithError("no GL context");
  const int n = static_cast<int>(st.range(0)), shape = static_cast<int>(st.range(1));
  placeObjects(*v.state, n, shape);
  drawFinished(*v.state);  // creates the shape lists
  for (auto _ : st) {
    v.state->view->view.cacheValid[vlm::CACHE_OBJECTS] = false;
    drawFinished(*v.state);  // compiles and executes the complete object list
  }
  st.counters["shape_lists"] = double(vlm::scene::shapeListCount(v.state->view->view.render->shapes));
  st.counters["objects"] = n;
}

void BM_Frame(benchmark::State& st) {
  View& v = view();
  if (!v.ok) return st.SkipWithError("no GL context");
  const int n = static_cast<int>(st.range(0)), shape = static_cast<int>(st.range(1));
  placeObjects(*v.state, n, shape);
  drawFinished(*v.state);
  drawFinished(*v.state);
  for (auto _ : st) drawFinished(*v.state);  // calls the compiled object list
  st.counters["shape_lists"] = double(vlm::scene::shapeListCount(v.state->view->view.render->shapes));
  st.counters["objects"] = n;
}

void shapes(benchmark::internal::Benchmark* b) {
  for (int shape : {6, 5})  // box, sphere
    for (int n : {1000, 10000, 100000}) b->Args({n, shape});
  b->ArgNames({"n", "shape"})->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_CompileObjects)->Apply(shapes)->Iterations(3);
BENCHMARK(BM_Frame)->Apply(shapes)->Iterations(5);
