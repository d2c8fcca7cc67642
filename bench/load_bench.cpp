// Where the time of a load goes: the whole-table file (support/table_file) put
// through the paste path step by step, as a paste from the clipboard runs it:
// taking the clipboard's text (Qt's UTF-16 as UTF-8, line ends as the desktop
// wrote them), the analysis pass, the loading pass and the distinct-value
// analysis. Reports the seconds of each step, rows per second and the peak
// memory of the load, and the time against pandas.read_csv on the same file
// (below 1: faster than pandas).
#include <benchmark/benchmark.h>

#include <QString>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "data/distinct_values.h"
#include "data/table_clear.h"
#include "data/table_text_load.h"
#include "platform/clipboard.h"
#include "platform/regional_settings.h"
#include "sources/clipboard_exchange.h"
#include "support/memory_warmup.h"
#include "support/peer_run.h"
#include "support/table_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double between(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

void BM_PasteMillionRows(benchmark::State& state) {
  vlm::bench::TableFileShape shape;
  const std::string path =
      (std::filesystem::temp_directory_path() / ("vlm-load-bench-" + std::to_string(::getpid()) + ".tsv")).string();
  if (!vlm::bench::writeTableFile(path, shape)) {
    state.SkipWithError("cannot write the table file");
    return;
  }
  // The text as the desktop clipboard holds it in this process.
  QString desktopText;
  {
    std::ifstream in(path, std::ios::binary);
    std::stringstream raw;
    raw << in.rdbuf();
    desktopText = QString::fromStdString(raw.str());
  }
  vlm::platform::RegionalSettings regional;
  regional.decimalSeparator = '.';
  regional.decimalSeparatorKnown = true;
  auto table = std::make_unique<vlm::DataTable>();
  double seconds = 0, textRead = 0, analysis = 0, loading = 0, distinct = 0;
  long peak = 0;
  const size_t warm = vlm::bench::warmupBytesFor(path);
  for (auto _ : state) {
    vlm::clearTable(*table);
    vlm::bench::warmFreeMemory(warm);
    vlm::bench::resetPeakResident();
    const long before = vlm::bench::residentKiB();
    const auto start = Clock::now();
    // What the desktop clipboard hands a paste (see platform/clipboard.h).
    const auto clip = vlm::platform::desktopClipboardTable(desktopText);
    const auto converted = Clock::now();
    if (!clip) {
      state.SkipWithError("no memory for the clipboard's text");
      break;
    }
    Clock::time_point loadingStart = converted;
    vlm::ProgressSink progress;
    progress.begin = [&](const char* what, int32_t, int32_t) {
      if (std::string_view(what) == " loading") loadingStart = Clock::now();
    };
    const auto result =
        vlm::loadTableText(*table, clip->text, vlm::clipboardTableFormat(*clip), regional, nullptr, progress);
    const auto loaded = Clock::now();
    vlm::buildAllDistinctValues(*table);
    const auto end = Clock::now();
    textRead = between(start, converted);
    analysis = between(converted, loadingStart);
    loading = between(loadingStart, loaded);
    distinct = between(loaded, end);
    seconds = between(start, end);
    state.SetIterationTime(seconds);
    peak = vlm::bench::peakResidentKiB() - before;
    if (result.status != vlm::TextLoadStatus::Loaded || result.rows != shape.rows) state.SkipWithError("load failed");
  }
  state.counters["seconds"] = seconds;
  state.counters["text_s"] = textRead;
  state.counters["analysis_s"] = analysis;
  state.counters["loading_s"] = loading;
  state.counters["distinct_s"] = distinct;
  state.counters["rows_per_s"] = static_cast<double>(shape.rows) / seconds;
  state.counters["load_MiB"] = static_cast<double>(peak) / 1024.0;
  const auto pandas = vlm::bench::runPandas(path, "", warm);
  if (pandas.ran) {
    state.counters["pandas_s"] = pandas.seconds;
    state.counters["vs_pandas"] = seconds / pandas.seconds;
  }
  std::printf("paste path %.3f s (clipboard text %.3f, analysis %.3f, loading %.3f, distinct %.3f)", seconds, textRead,
              analysis, loading, distinct);
  if (pandas.ran) std::printf(", pandas.read_csv %.3f s: ours / theirs %.2f", pandas.seconds, seconds / pandas.seconds);
  std::printf("\n");
  std::error_code error;
  std::filesystem::remove(path, error);
}
BENCHMARK(BM_PasteMillionRows)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
