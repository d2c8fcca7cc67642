// The Calculator over a million selected samples: its 36 rows (Count,
// Percent and a Sum for each of 34 numeric fields, the default set of a wide
// table) recalculated after a step of the selection that changes 0.1, 1, 10
// or 50 % of the samples, the first calculation of a new table, and a set of
// Min, Max, Sum and Average rows while the selection narrows. Beside it, when
// the system's Python has pandas, the same sums over the selected rows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/data_table.h"
#include "engine/calculator_record.h"
#include "tools/calculator/calculator_results.h"
#include "tools/calculator/calculator_rows.h"
#include "tools/calculator/calculator_stats.h"

namespace {

constexpr int32_t kRows = 1000000;
constexpr int32_t kNumeric = 34;

// A table of a million rows: `numeric` fields, integers and reals in turn,
// then two text fields; about one value in fifty is missing.
std::unique_ptr<vlm::DataTable> makeTable(int32_t numeric) {
  auto t = std::make_unique<vlm::DataTable>();
  std::mt19937 rng(7);
  t->fieldCount = numeric + 2;
  for (int32_t f = 0; f < t->fieldCount; ++f) {
    vlm::DataField& field = t->fields[static_cast<size_t>(f)];
    std::snprintf(field.name, sizeof field.name, "F%d", f);
    field.flags = vlm::kFieldValid;
    field.type = f >= numeric ? vlm::FT_TEXT : (f % 2 == 0 ? vlm::FT_INTEGER : vlm::FT_REAL);
    if (f >= numeric) continue;
    field.cells.resize(kRows);
    for (vlm::Cell& c : field.cells) {
      const uint32_t r = rng();
      if (r % 50 == 0) continue;
      c.flags = vlm::kCellPresent;
      if (field.type == vlm::FT_INTEGER)
        c.value.i = static_cast<int32_t>(r % 200001) - 100000;
      else
        c.value.f = static_cast<float>(r % 1000000) / 1000.0f;
    }
  }
  t->rowCount = kRows;
  t->rowCapacity = kRows;
  return t;
}

const vlm::DataTable& wideTable() {
  static const auto table = makeTable(kNumeric);
  return *table;
}

// Two selections that differ in `percent` of the samples, scattered.
std::pair<std::vector<uint8_t>, std::vector<uint8_t>> selections(double percent) {
  std::mt19937 rng(11);
  std::vector<uint8_t> a(kRows, 1), b(kRows, 1);
  const auto limit = static_cast<uint32_t>(percent / 100.0 * 4294967295.0);
  for (int32_t i = 0; i < kRows; ++i)
    if (rng() < limit) b[static_cast<size_t>(i)] = 0;
  return {std::move(a), std::move(b)};
}

double pandasSeconds(double percent) {
  const std::string command = std::string("python3 ") + VLM_BENCH_DIR "/pandas_stats.py " +
                              std::to_string(kRows) + " " + std::to_string(kNumeric) + " " +
                              std::to_string(percent) + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  double seconds = -1;
  int columns = 0;
  const int got = std::fscanf(pipe, "%lf %d", &seconds, &columns);
  pclose(pipe);
  return got == 2 && columns == kNumeric ? seconds : -1;
}

void calculate(vlm::CalculatorRecord& rec, vlm::CalculatorStats& stats, const vlm::DataTable& t,
               const std::vector<uint8_t>& flags, const vlm::platform::RegionalSettings& regional) {
  vlm::calculator::updateStats(stats, t, flags, 1, vlm::calculator::fieldNeeds(rec, t));
  vlm::calculator::formatResults(rec, stats, t, regional);
}

// A step of the selection, then the 36 rows recalculated.
void BM_CalculatorStep(benchmark::State& state) {
  const double percent = static_cast<double>(state.range(0)) / 10.0;
  const vlm::DataTable& t = wideTable();
  vlm::CalculatorRecord rec;
  vlm::calculator::buildDefaultRows(rec, t, false);
  const auto [a, b] = selections(percent);
  vlm::CalculatorStats stats;
  const vlm::platform::RegionalSettings regional;
  calculate(rec, stats, t, a, regional);
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    calculate(rec, stats, t, flip ? b : a, regional);
    benchmark::DoNotOptimize(rec.rows[2].result.data());
  }
  state.counters["rows"] = rec.count;
  state.counters["changed_%"] = percent;
  static bool asked[4] = {};
  const int slot = state.range(0) == 1 ? 0 : state.range(0) == 10 ? 1 : state.range(0) == 100 ? 2 : 3;
  if (!asked[slot]) {
    asked[slot] = true;
    const double pandas = pandasSeconds(percent);
    if (pandas > 0) state.counters["pandas_ms"] = pandas * 1000.0;
  }
}
BENCHMARK(BM_CalculatorStep)->Arg(1)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

// The first calculation after a load: every field's statistics taken afresh.
void BM_CalculatorFirst(benchmark::State& state) {
  const vlm::DataTable& t = wideTable();
  vlm::CalculatorRecord rec;
  vlm::calculator::buildDefaultRows(rec, t, false);
  const std::vector<uint8_t> all(kRows, 1);
  const vlm::platform::RegionalSettings regional;
  for (auto _ : state) {
    vlm::CalculatorStats stats;
    calculate(rec, stats, t, all, regional);
    benchmark::DoNotOptimize(rec.rows[2].result.data());
  }
  state.counters["rows"] = rec.count;
}
BENCHMARK(BM_CalculatorFirst)->Unit(benchmark::kMillisecond);

// Seven numeric fields with Sum, Average, Min and Max each (30 rows); each
// step narrows a range of the first field, which takes away its least values.
void BM_CalculatorNarrowing(benchmark::State& state) {
  static const auto narrow = makeTable(7);
  const vlm::DataTable& t = *narrow;
  vlm::CalculatorRecord rec;
  vlm::calculator::buildDefaultRows(rec, t, false);
  const vlm::platform::RegionalSettings regional;
  std::vector<uint8_t> wide(kRows, 1), tight(kRows, 1);
  for (int32_t i = 0; i < kRows; ++i) {
    const vlm::Cell& c = t.fields[0].cells[static_cast<size_t>(i)];
    if ((c.flags & vlm::kCellPresent) && c.value.i < -99000) tight[static_cast<size_t>(i)] = 0;
  }
  vlm::CalculatorStats stats;
  calculate(rec, stats, t, wide, regional);
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    calculate(rec, stats, t, flip ? tight : wide, regional);
    benchmark::DoNotOptimize(rec.rows[4].result.data());
  }
  state.counters["rows"] = rec.count;
}
BENCHMARK(BM_CalculatorNarrowing)->Unit(benchmark::kMillisecond);

}  // namespace
