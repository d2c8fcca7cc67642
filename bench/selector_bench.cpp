// The Selector at 100k and 1M rows: one step of a Range Slider drag (the
// row's test and the selection computation up to HM_HITS; drawing is the
// scene's), one play step of an Item row, one keystroke of a Substring on a
// text of a million values, and the distinct-value analysis of each kind of field.
//
// Five fields: an integer, a real, a text of 12 values (a Samples row, so the
// availability of its values follows every step), dates over 30 years and a
// text of one value per row.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "data/distinct_values.h"
#include "data/table_growth.h"
#include "data/text_pool.h"
#include "data/time_table.h"
#include "engine/engine_state.h"
#include "tools/selector/range_bounds.h"
#include "tools/selector/row_edits.h"
#include "tools/selector/selection_compute.h"
#include "tools/selector/selector_rows.h"
#include "tools/selector/selector_rules.h"

namespace {

using namespace vlm;

enum Field { kCount, kPrice, kKind, kDay, kName, kFields };

struct World {
  std::shared_ptr<EngineState> state = std::make_shared<EngineState>();

  explicit World(int32_t rows) {
    state->main = std::make_unique<MainRecord>();
    state->view = std::make_unique<ViewRecord>();
    state->model = std::make_unique<ModelRecord>();
    state->data = std::make_unique<DataTable>();
    installTableHooks(state);
    DataTable& t = *state->data;
    const char* names[kFields] = {"Count", "Price", "Kind", "Day", "Name"};
    const uint8_t types[kFields] = {FT_INTEGER, FT_REAL, FT_TEXT, FT_DATETIME, FT_TEXT};
    t.fieldCount = kFields;
    for (int f = 0; f < kFields; ++f) {
      std::snprintf(t.fields[static_cast<size_t>(f)].name, kFieldNameSize, "%s", names[f]);
      t.fields[static_cast<size_t>(f)].type = types[f];
    }
    growRows(t, rows);
    uint32_t seed = 12345;
    auto next = [&seed] {
      seed = seed * 1664525u + 1013904223u;
      return seed >> 8;
    };
    for (int k = 0; k < 12; ++k) internText(t.textPool, "kind " + std::to_string(k));
    DataField& count = t.fields[kCount];
    DataField& price = t.fields[kPrice];
    count.min.i = price.min.i = INT32_MAX;
    count.max.i = INT32_MIN;
    price.min.f = 3.4e38f;
    price.max.f = -3.4e38f;
    for (int32_t s = 0; s < rows; ++s) {
      const auto i = static_cast<size_t>(s);
      Cell& c = count.cells[i];
      c.value.i = static_cast<int32_t>(next() % 100000);
      c.flags = kCellPresent;
      count.min.i = std::min(count.min.i, c.value.i);
      count.max.i = std::max(count.max.i, c.value.i);
      Cell& p = price.cells[i];
      p.value.f = static_cast<float>(next() % 1000000) / 100.0f;
      p.flags = kCellPresent;
      price.min.f = std::min(price.min.f, p.value.f);
      price.max.f = std::max(price.max.f, p.value.f);
      Cell& k = t.fields[kKind].cells[i];
      k.value.i = static_cast<int32_t>(next() % 12);
      k.flags = kCellPresent;
      TimeEntry day;
      day.year = static_cast<uint16_t>(1990 + next() % 30);
      day.month = static_cast<uint16_t>(1 + next() % 12);
      day.day = static_cast<uint16_t>(1 + next() % 28);
      Cell& d = t.fields[kDay].cells[i];
      d.value.i = internTime(t.timeTable, day);
      d.flags = kCellPresent;
      Cell& n = t.fields[kName].cells[i];
      n.value.i = internText(t.textPool, "person " + std::to_string(s));
      n.flags = kCellPresent;
    }
    t.rowCount = t.sourceRowCount = rows;
    buildAllDistinctValues(t);
    platform::DataLockGuard guard(state->main->dataLock);
    selector::takeLoadedTableLocked(*state);
  }

  EngineState& s() { return *state; }
};

World& world(int32_t rows) {
  static std::unique_ptr<World> w;
  static int32_t built = 0;
  if (built != rows) {
    w.reset();
    w = std::make_unique<World>(rows);
    built = rows;
  }
  return *w;
}

// Milliseconds of one step of the same range filter in pandas on a table of
// the same shape (bench/pandas_filter.py), or a negative value without pandas.
double pandasStepMs(int32_t rows) {
  static std::map<int32_t, double> measured;  // the benchmark runs each size more than once
  if (auto it = measured.find(rows); it != measured.end()) return it->second;
  double& result = measured[rows];
  result = -1;
  const char* script = VLM_BENCH_DIR "/pandas_filter.py";
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    const std::string command = std::string(python) + " " + script + " " + std::to_string(rows) + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) continue;
    double ms = -1;
    long selected = 0;
    const int got = std::fscanf(pipe, "%lf %ld", &ms, &selected);
    pclose(pipe);
    if (got == 2) return result = ms;
  }
  return result;
}

// One drag step: the low thumb moves one pixel of a 200-pixel track. The
// same step in pandas is timed once per size, side by side (vs_pandas > 1: faster).
void BM_SelectorRangeStep(benchmark::State& bm) {
  World& w = world(static_cast<int32_t>(bm.range(0)));
  EngineState& s = w.s();
  platform::DataLockGuard guard(s.main->dataLock);
  selector::runMenuCommand(s, selector::kCommandAll, kCount);
  const selector::RangeLimits limits = selector::rangeLimits(s.data->fields[kCount]);
  const double pixel = (limits.greatest - limits.least) / 200.0;
  int step = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : bm) {
    const double low = limits.least + pixel * (step % 100);
    ++step;
    selector::setRange(s, kCount, low, limits.greatest);
    benchmark::DoNotOptimize(selector::computeSelectionLocked(s));
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
                    static_cast<double>(std::max<int64_t>(bm.iterations(), 1));
  bm.counters["ms_step"] = ms;
  const double peer = pandasStepMs(static_cast<int32_t>(bm.range(0)));
  if (peer > 0) {
    bm.counters["pandas_ms"] = peer;
    bm.counters["vs_pandas"] = peer / ms;
    std::printf("range step at %ld rows: %.3f ms, pandas %.3f ms: %.1fx %s\n", static_cast<long>(bm.range(0)), ms,
                peer, peer > ms ? peer / ms : ms / peer, peer > ms ? "faster" : "slower");
  }
  selector::runMenuCommand(s, selector::kCommandAll, kCount);
  selector::computeSelectionLocked(s);
}
BENCHMARK(BM_SelectorRangeStep)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One play step of an Item row over the twelve kinds (the 500 ms pause excluded).
void BM_SelectorPlayStep(benchmark::State& bm) {
  World& w = world(static_cast<int32_t>(bm.range(0)));
  EngineState& s = w.s();
  platform::DataLockGuard guard(s.main->dataLock);
  s.main->selector.open = 1;  // play steps an open window's rows; no window is drawn here
  selector::setMethod(s, kKind, selector::kItemSlider);
  for (auto _ : bm) {
    selector::advanceItem(s, kKind);
    benchmark::DoNotOptimize(selector::computeSelectionLocked(s));
  }
  bm.counters["steps/s"] = benchmark::Counter(static_cast<double>(bm.iterations()), benchmark::Counter::kIsRate);
  s.main->selector.open = 0;
  selector::setMethod(s, kKind, selector::kSamples);
  selector::computeSelectionLocked(s);
}
BENCHMARK(BM_SelectorPlayStep)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One keystroke of a Substring row on a text with a value per row.
void BM_SelectorSubstringKey(benchmark::State& bm) {
  World& w = world(static_cast<int32_t>(bm.range(0)));
  EngineState& s = w.s();
  platform::DataLockGuard guard(s.main->dataLock);
  selector::setMethod(s, kName, selector::kSubstring);
  int step = 0;
  for (auto _ : bm) {
    // Alternately "7" and nothing: every value is tested each time.
    selector::pressKey(s, kName, step++ % 2 ? selector::kKeyBack : 0, "7");
    benchmark::DoNotOptimize(selector::computeSelectionLocked(s));
  }
  selector::pressKey(s, kName, selector::kKeyEscape, {});
  selector::computeSelectionLocked(s);
}
BENCHMARK(BM_SelectorSubstringKey)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The distinct-value analysis of one field of 1M rows.
void BM_DistinctAnalysis(benchmark::State& bm) {
  World& w = world(1000000);
  DataTable& t = *w.s().data;
  const auto field = static_cast<int32_t>(bm.range(0));
  for (auto _ : bm) benchmark::DoNotOptimize(buildDistinctValues(t, field));
  bm.SetLabel(t.fields[static_cast<size_t>(field)].name + std::string(" (") +
              std::to_string(t.fields[static_cast<size_t>(field)].distinctCount) + " values)");
  // A million rows: the milliseconds per field are nanoseconds per row.
  // The Selector's rows index the list: take the table again.
  platform::DataLockGuard guard(w.s().main->dataLock);
  selector::takeLoadedTableLocked(w.s());
}
BENCHMARK(BM_DistinctAnalysis)->DenseRange(kCount, kName)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
