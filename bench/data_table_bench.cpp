// Loading speed of the data table: cells per second for the analysis pass
// (classify) and the loading pass (store) of one column of 1M rows, and the
// bytes each stored cell costs, per column kind. Interning is timed alone,
// one text at a time and through the loading pass's queue, against the number
// of distinct texts; BM_TextColumnFewAgainstMany stores a column of 1M
// distinct texts and one of 10 alternately and reports the ratio.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "data/cell_classify.h"
#include "data/cell_loader.h"
#include "data/cell_store.h"
#include "data/distinct_estimate.h"
#include "data/field_analysis.h"
#include "data/table_clear.h"
#include "data/table_growth.h"
#include "data/text_intern_queue.h"
#include "data/text_pool.h"
#include "data/time_table.h"
#include "platform/regional_settings.h"

namespace {

constexpr int kRows = 1000000;

enum Column { kInteger, kReal, kDate, kTextFew, kTextMany };

std::vector<std::string> makeColumn(Column column) {
  std::vector<std::string> cells;
  cells.reserve(kRows);
  uint32_t seed = 2463534242u;
  auto next = [&] {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    return seed;
  };
  char buffer[64];
  for (int i = 0; i < kRows; ++i) {
    const uint32_t r = next();
    switch (column) {
      case kInteger:
        std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(r % 2000000) - 1000000);
        break;
      case kReal:
        std::snprintf(buffer, sizeof buffer, "%d.%02u", static_cast<int>(r % 200000) - 100000, (r >> 20) % 100);
        break;
      case kDate:
        std::snprintf(buffer, sizeof buffer, "%u/%u/%u %u:%02u", 1 + r % 12, 1 + (r >> 4) % 28, 1990 + (r >> 9) % 30,
                      (r >> 14) % 24, (r >> 19) % 60);
        break;
      case kTextFew:
        std::snprintf(buffer, sizeof buffer, "customer %07u", r % 10);  // the shape of the 1M column
        break;
      case kTextMany:
        std::snprintf(buffer, sizeof buffer, "customer %07d", i);
        break;
    }
    cells.emplace_back(buffer);
  }
  return cells;
}

const std::vector<std::string>& column(Column c) {
  static std::vector<std::string> columns[5];
  if (columns[c].empty()) columns[c] = makeColumn(c);
  return columns[c];
}

vlm::platform::RegionalSettings regional() {
  vlm::platform::RegionalSettings r;
  r.decimalSeparator = '.';
  r.decimalSeparatorKnown = true;
  return r;
}

void BM_Classify(benchmark::State& state) {
  const auto& cells = column(static_cast<Column>(state.range(0)));
  const auto r = regional();
  for (auto _ : state) {
    vlm::DataField field;
    field.analysisClass = vlm::AC_NONE;
    vlm::DistinctSketch sketch;  // as the analysis pass sketches text and date fields
    for (const std::string& cell : cells) {
      field.analysisClass = vlm::classifyCell(field, cell, r);
      if (field.analysisClass == vlm::AC_TEXT || field.analysisClass == vlm::AC_DATETIME) vlm::sketchAdd(sketch, cell);
    }
    benchmark::DoNotOptimize(field.analysisClass);
    benchmark::DoNotOptimize(sketch.texts);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  state.counters["cells/s"] = benchmark::Counter(double(state.iterations()) * kRows, benchmark::Counter::kIsRate);
}

// What the analysis pass foresees for a text column: about this many
// distinct texts of this many bytes in all.
struct Foreseen {
  size_t texts = 0;
  size_t bytes = 0;
};

Foreseen foresee(const std::vector<std::string>& cells) {
  vlm::DistinctSketch sketch;
  for (const std::string& cell : cells) vlm::sketchAdd(sketch, cell);
  const size_t distinct = vlm::sketchDistinct(sketch);
  const size_t texts = distinct + distinct / 16;
  return {texts, texts * vlm::sketchMeanLength(sketch)};
}

// The process's resident memory: the pool's index is reserved generously and
// only the pages it uses count.
size_t residentBytes() {
  FILE* statm = std::fopen("/proc/self/statm", "r");
  long pages = 0, resident = 0;
  if (statm) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<size_t>(resident) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

void BM_Store(benchmark::State& state) {
  const auto& cells = column(static_cast<Column>(state.range(0)));
  const auto r = regional();
  static vlm::DataTable table;
  // The analysis pass decides the type once; it is not part of what is timed.
  vlm::DataField analysed;
  analysed.analysisClass = vlm::AC_NONE;
  for (const std::string& cell : cells) analysed.analysisClass = vlm::classifyCell(analysed, cell, r);
  const bool sketched = analysed.analysisClass == vlm::AC_TEXT || analysed.analysisClass == vlm::AC_DATETIME;
  const Foreseen foreseen = sketched ? foresee(cells) : Foreseen{};
  // The loading pass reads cells out of one loaded text.
  std::string source;
  std::vector<std::pair<size_t, size_t>> spans;
  for (const std::string& cell : cells) {
    spans.emplace_back(source.size(), cell.size());
    source += cell;
    source += '\n';
  }
  size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    vlm::clearTable(table);
    table.fieldCount = 1;
    vlm::DataField& field = table.fields[0];
    field.analysisClass = analysed.analysisClass;
    field.numberFormatClass = analysed.numberFormatClass;
    field.dateOrderState = analysed.dateOrderState;
    for (int i = 0; i < 3; ++i) field.dateComponentMax[i] = analysed.dateComponentMax[i];
    vlm::applyAnalysisClass(field);
    vlm::growRows(table, kRows);
    const size_t before = residentBytes();
    state.ResumeTiming();
    // As the loading pass readies the pool and stores them.
    if (foreseen.texts > 0 && field.type == vlm::FT_DATETIME) vlm::reserveTimeTable(table.timeTable, foreseen.texts);
    if (foreseen.texts > 0 && field.type == vlm::FT_TEXT) vlm::reserveTextPool(table.textPool, foreseen.texts, foreseen.bytes);
    vlm::CellLoader loader(table, r, source);
    for (int i = 0; i < kRows; ++i) {
      const auto [offset, length] = spans[static_cast<size_t>(i)];
      loader.store(0, i, std::string_view(source).substr(offset, length));
    }
    loader.finish();
    state.PauseTiming();
    const size_t after = residentBytes();
    int stored = 0;
    for (const vlm::Cell& cell : table.fields[0].cells) stored += (cell.flags & vlm::kCellPresent) != 0;
    if (stored != kRows) state.SkipWithError("a cell was not stored");
    bytes = table.fields[0].cells.capacity() * sizeof(vlm::Cell) + (after > before ? after - before : 0);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  state.counters["cells/s"] = benchmark::Counter(double(state.iterations()) * kRows, benchmark::Counter::kIsRate);
  state.counters["bytes/cell"] = double(bytes) / kRows;
}

std::vector<std::string> internColumn(int distinct) {
  std::vector<std::string> cells;
  cells.reserve(kRows);
  char buffer[64];
  for (int i = 0; i < kRows; ++i) {
    std::snprintf(buffer, sizeof buffer, "customer %07d", i % distinct);
    cells.emplace_back(buffer);
  }
  return cells;
}

// Interning alone, per row, against the number of distinct texts in the
// column, one text at a time: the cost per row levels off (a scan would grow
// with it), but each new text waits for its bucket to come from memory.
// Times intern(pool) on a fresh pool per iteration, freeing it untimed.
template <class Intern>
void timeInterning(benchmark::State& state, Intern&& intern) {
  for (auto _ : state) {
    state.PauseTiming();
    auto pool = std::make_unique<vlm::TextPool>();
    state.ResumeTiming();
    intern(*pool);
    state.PauseTiming();
    pool.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  state.counters["ns/row"] =
      benchmark::Counter(double(state.iterations()) * kRows, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Intern(benchmark::State& state) {
  const std::vector<std::string> cells = internColumn(static_cast<int>(state.range(0)));
  timeInterning(state, [&cells](vlm::TextPool& pool) {
    for (const std::string& cell : cells) benchmark::DoNotOptimize(vlm::internText(pool, cell));
  });
}

// The same through the queue the loading pass interns with, which fetches
// buckets ahead: 1M distinct texts cost about what 10 distinct texts cost.
void BM_InternQueued(benchmark::State& state) {
  const std::vector<std::string> cells = internColumn(static_cast<int>(state.range(0)));
  const Foreseen foreseen = foresee(cells);
  timeInterning(state, [&](vlm::TextPool& pool) {
    // As the loading pass readies the pool from what the analysis foresaw.
    vlm::reserveTextPool(pool, foreseen.texts, foreseen.bytes);
    vlm::TextInternQueue<int32_t> queue(pool);
    int64_t sum = 0;
    const auto done = [&sum](int32_t, int32_t index) { sum += index; };
    for (const std::string& cell : cells) queue.push(cell, 0, done, true);  // as cells inside the loaded text
    queue.drain(done);
    benchmark::DoNotOptimize(sum);
  });
}

// A text column as the loading pass meets it: cells inside one loaded text.
struct LoadedColumn {
  std::string source;
  std::vector<std::string_view> cells;
  Foreseen foreseen;
};

LoadedColumn loadedColumn(int distinct) {
  const std::vector<std::string> texts = internColumn(distinct);
  LoadedColumn column;
  std::vector<std::pair<size_t, size_t>> spans;
  for (const std::string& text : texts) {
    spans.emplace_back(column.source.size(), text.size());
    column.source += text;
    column.source += '\n';
  }
  for (const auto& [offset, length] : spans) column.cells.push_back(std::string_view(column.source).substr(offset, length));
  column.foreseen = foresee(texts);
  return column;
}

// Seconds the loading pass takes to store one text column into a fresh table.
double storeTextColumn(const LoadedColumn& column, const vlm::platform::RegionalSettings& r) {
  auto table = std::make_unique<vlm::DataTable>();
  table->fieldCount = 1;
  table->fields[0].type = vlm::FT_TEXT;
  vlm::growRows(*table, kRows);
  const auto start = std::chrono::steady_clock::now();
  vlm::reserveTextPool(table->textPool, column.foreseen.texts, column.foreseen.bytes);
  vlm::CellLoader loader(*table, r, column.source);
  for (int i = 0; i < kRows; ++i) loader.store(0, i, column.cells[static_cast<size_t>(i)]);
  loader.finish();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (vlm::poolSize(table->textPool) == 0) return -1;
  return seconds;
}

// The check of the text pool's design: storing a column of 1M distinct texts
// against one of 10 distinct texts (the same shape), timed alternately in
// the same iterations so that both meet the same machine.
void BM_TextColumnFewAgainstMany(benchmark::State& state) {
  const LoadedColumn few = loadedColumn(10);
  const LoadedColumn many = loadedColumn(kRows);
  const auto r = regional();
  double fewSeconds = 0, manySeconds = 0;
  int64_t rounds = 0;
  for (auto _ : state) {
    const bool fewFirst = rounds % 2 == 0;
    const double a = storeTextColumn(fewFirst ? few : many, r);
    const double b = storeTextColumn(fewFirst ? many : few, r);
    if (a < 0 || b < 0) state.SkipWithError("nothing stored");
    fewSeconds += fewFirst ? a : b;
    manySeconds += fewFirst ? b : a;
    state.SetIterationTime(a + b);
    ++rounds;
  }
  state.counters["few_ns/row"] = fewSeconds * 1e9 / double(rounds * kRows);
  state.counters["many_ns/row"] = manySeconds * 1e9 / double(rounds * kRows);
  state.counters["many/few"] = manySeconds / fewSeconds;
}

void internArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"distinct"});
  for (int d : {10, 1000, 100000, 1000000}) b->Arg(d);
  b->Unit(benchmark::kMillisecond)->MinTime(0.5);
}

void columnArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"column"});
  for (int c : {kInteger, kReal, kDate, kTextFew, kTextMany}) b->Arg(c);
  b->Unit(benchmark::kMillisecond)->MinTime(0.5);
}

}  // namespace

// column: 0 integer, 1 real, 2 date/time, 3 text of 10 distinct values, 4 text of 1M distinct values
BENCHMARK(BM_Classify)->Apply(columnArgs);
BENCHMARK(BM_Store)->Apply(columnArgs);
BENCHMARK(BM_Intern)->Apply(internArgs);
BENCHMARK(BM_InternQueued)->Apply(internArgs);
BENCHMARK(BM_TextColumnFewAgainstMany)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
