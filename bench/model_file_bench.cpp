// Saving and opening a model of a table with 2048 fields and every
// association set (a colour ramp of 33 entries, 36 Calculator rows, the
// Selector's method of each field, the space settings): each is one pass
// over the file.
#include <QObject>
#include <QVariant>
#include <QWindow>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "data/table_growth.h"
#include "engine/engine_state.h"
#include "engine/model_file/model_file_open.h"
#include "engine/model_file/model_file_save.h"
#include "engine/vlmapi.h"
#include "model/association_ops.h"
#include "model/color_entries.h"
#include "platform/registry_store.h"
#include "tools/calculator/calculator_rows.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t kFields = 2048;
constexpr int32_t kRows = 100;

struct Engine {
  Engine() {
    dir = fs::temp_directory_path() / ("vlm-model-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    vlm::platform::RegistryStore::redirect((dir / "user").string(), (dir / "machine").string());
    host = std::make_unique<QObject>();
    view = std::make_unique<QWindow>();
    host->setProperty("vlm3DWindow", QVariant::fromValue(static_cast<QObject*>(view.get())));
    vlm_InitSystem(&instance, host.get(), nullptr, nullptr, 23);
    state = vlm::currentState();
    state->main->settings.firstRun = 0;
    state->main->settings.asking = 0;
    fill();
  }
  ~Engine() {
    state.reset();
    vlm_DeinitSystem();
    fs::remove_all(dir);
  }
  // A table of 2048 numeric fields, every attribute bound to one of them, a
  // full colour ramp and a full Calculator.
  void fill() {
    vlm::platform::DataLockGuard lock(state->main->dataLock);
    vlm::DataTable& t = *state->data;
    t.fieldCount = kFields;
    vlm::growRows(t, kRows);
    for (int32_t f = 0; f < kFields; ++f) {
      vlm::DataField& field = t.fields[static_cast<size_t>(f)];
      std::snprintf(field.name, sizeof field.name, "Measurement %04d", f);
      field.flags = vlm::kFieldValid;
      field.type = vlm::FT_INTEGER;
      for (int32_t r = 0; r < kRows; ++r) {
        field.cells[static_cast<size_t>(r)].flags = vlm::kCellPresent;
        field.cells[static_cast<size_t>(r)].value.i = r * (f + 1);
      }
    }
    t.rowCount = t.sourceRowCount = kRows;
    vlm::ModelContext ctx = vlm::modelContext(*state);
    for (int32_t a = 1; a < vlm::kAttributeCount; ++a) vlm::associateFieldLocked(ctx, a * 97, 0, a, 50, 1);
    state->view->savedColorModel.entries.clear();
    for (int32_t e = 0; e < vlm::kMaxColorEntries; ++e) {
      vlm::ColorEntry entry;
      entry.value.i = e * 3;
      entry.valueText = std::to_string(e * 3);
      entry.red = static_cast<float>(e) / 32.0f;
      entry.green = 0.5f;
      entry.blue = 1.0f - entry.red;
      state->view->savedColorModel.entries.push_back(entry);
    }
    vlm::CalculatorRecord& rec = state->main->calculator;
    vlm::calculator::removeAllRows(rec);
    for (int32_t r = 0; r < vlm::kCalculatorRowCapacity; ++r) vlm::calculator::addRow(rec, t, r * 50, r % 6);
  }
  fs::path dir;
  std::unique_ptr<QObject> host;
  std::unique_ptr<QWindow> view;
  std::shared_ptr<vlm::EngineState> state;
  int instance = 0;
};

Engine& engine() {
  static Engine e;
  return e;
}

void BM_ModelFileSave(benchmark::State& state) {
  Engine& e = engine();
  const std::string path = (e.dir / "wide.vlm").string();
  for (auto _ : state) benchmark::DoNotOptimize(vlm::writeModelFile(*e.state, path));
  state.counters["bytes"] = static_cast<double>(fs::file_size(path));
  state.counters["fields"] = kFields;
}
BENCHMARK(BM_ModelFileSave)->Unit(benchmark::kMillisecond);

void BM_ModelFileApply(benchmark::State& state) {
  Engine& e = engine();
  const std::string path = (e.dir / "wide.vlm").string();
  if (!fs::exists(path)) vlm::writeModelFile(*e.state, path);
  int32_t result = 0;
  for (auto _ : state) result = vlm::openModelFile(*e.state, path, vlm::ModelMode::Apply, false);
  state.counters["applied"] = result;
  state.counters["associations"] = e.state->model->associations.count;
  state.counters["calculator_rows"] = e.state->main->calculator.count;
}
BENCHMARK(BM_ModelFileApply)->Unit(benchmark::kMillisecond);

}  // namespace
