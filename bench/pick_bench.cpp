// Pick latency on the software rasteriser: a click on an object (one object
// pass) and a click beside every object (the object pass and the axis pass),
// for 10 000 and 100 000 boxes.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/picking/pick.h"
#include "engine/render/render_commands.h"
#include "support/gl_view.h"

namespace {

struct PickView : vlm::bench::GlView {
  PickView() {
    auto& v = state->view->view;
    v.cameraTranslation[0] = v.cameraTranslation[1] = 0.0f;
    v.cameraTranslation[2] = -900.0f;
  }
};

PickView& pickView() {
  static PickView* v = new PickView;  // outlives no application object
  return *v;
}

// n boxes on a square grid in the plane facing the camera, all selected.
void placeBoxes(vlm::EngineState& s, int n) {
  auto& m = *s.model;
  m.objects.assign(static_cast<size_t>(n), vlm::ObjectRecord{});
  int side = 1;
  while (side * side < n) ++side;
  const float step = 500.0f / static_cast<float>(side);
  for (int i = 0; i < n; ++i) {
    auto& o = m.objects[static_cast<size_t>(i)];
    o.x = static_cast<float>(i % side) * step - 250.0f;
    o.y = static_cast<float>(i / side) * step - 250.0f;
    o.shape = static_cast<uint8_t>(6 << 4);
    o.width = o.depth = o.height = step * 0.6f;
    o.alpha = 1.0f;
  }
  m.objectCount = n;
  m.selectionFlags.assign(static_cast<size_t>(n), 1);
  s.data->rowCount = n;
  s.main->selectionBuffer.assign(4 * static_cast<size_t>(n) + 100, 0);
}

void pickBench(benchmark::State& st, bool onObject) {
  PickView& v = pickView();
  if (!v.ok) {
    st.SkipWithError("no GL context");
    return;
  }
  placeBoxes(*v.state, static_cast<int>(st.range(0)));
  // The centre of the grid's first box, or the window's corner beside every box.
  const int x = onObject ? 320 : 2, y = onObject ? 240 : 2;
  int32_t name = 0;
  for (auto _ : st) {
    name = vlm::pickAt(*v.state, x, y);
    benchmark::DoNotOptimize(name);
  }
  st.counters["objects"] = static_cast<double>(st.range(0));
  st.counters["hit"] = name >= 0 ? 1 : 0;
}

void BM_PickOnObject(benchmark::State& st) { pickBench(st, true); }
void BM_PickBesideObjects(benchmark::State& st) { pickBench(st, false); }

}  // namespace

BENCHMARK(BM_PickOnObject)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PickBesideObjects)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
