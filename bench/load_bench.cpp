// Loading a 1 000 000-row x 8-column tab-separated table through the paste
// path: the header, both passes and the distinct-value analysis, as a paste
// from the clipboard runs them. Reports seconds, rows per second and the peak
// memory of the load, and the speed against pandas.read_csv on the same file
// when the system's Python has pandas (ratio > 1: faster than pandas).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
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

namespace {

constexpr int kRows = 1000000;

std::string makeTable() {
  static const char* const cities[] = {"Oslo", "Lyon", "Graz", "Porto", "Turku", "Brno", "Cork", "Bari"};
  std::string text = "id\tcount\tprice\tratio\tcity\tcode\tday\tshipped\n";
  text.reserve(80u * kRows);
  uint32_t seed = 2463534242u;
  auto next = [&] {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    return seed;
  };
  char line[256];
  for (int i = 0; i < kRows; ++i) {
    const uint32_t r = next(), s = next();
    std::snprintf(line, sizeof line, "%d\t%u\t%u.%02u\t%.4f\t%s\tK%04u\t20%02u-%02u-%02u\t%02u/%02u/20%02u\n", i,
                  r % 1000, r % 100000, s % 100, (s % 10000) / 10000.0, cities[r % 8], s % 5000, 10 + r % 14,
                  1 + s % 12, 1 + r % 28, 1 + s % 12, 1 + (r >> 8) % 28, 10 + (s >> 8) % 14);
    text += line;
  }
  return text;
}

const std::string& benchFile() {
  static const std::string path = [] {
    const auto p = std::filesystem::temp_directory_path() / ("vlm-load-bench-" + std::to_string(::getpid()) + ".tsv");
    std::ofstream(p, std::ios::binary) << makeTable();
    return p.string();
  }();
  return path;
}

long peakKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmHWM:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 20, '\n');
  }
  return 0;
}

long currentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 20, '\n');
  }
  return 0;
}

// Seconds pandas.read_csv takes on the file, or a negative value without pandas.
double pandasSeconds(const std::string& path) {
  const char* script = VLM_BENCH_DIR "/pandas_read.py";
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    const std::string command = std::string(python) + " " + script + " " + path + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) continue;
    double seconds = -1;
    long rows = 0;
    const int got = std::fscanf(pipe, "%lf %ld", &seconds, &rows);
    pclose(pipe);
    if (got == 2 && rows == kRows) return seconds;
  }
  return -1;
}

void BM_PasteMillionRows(benchmark::State& state) {
  const std::string& path = benchFile();
  vlm::platform::RegionalSettings regional;
  regional.decimalSeparator = '.';
  regional.decimalSeparatorKnown = true;
  auto table = std::make_unique<vlm::DataTable>();
  double seconds = 0, readSeconds = 0, passSeconds = 0, distinctSeconds = 0;
  long peak = 0, before = 0;
  for (auto _ : state) {
    vlm::clearTable(*table);
    // Reset the peak so that it measures this load (the file text included,
    // as the clipboard text is held during a paste).
    std::ofstream("/proc/self/clear_refs") << "5";
    before = currentKiB();
    const auto start = std::chrono::steady_clock::now();
    std::ifstream in(path, std::ios::binary);
    std::stringstream raw;
    raw << in.rdbuf();
    const std::string text = vlm::platform::toEngineLineEnds(raw.str());
    const auto parsed = std::chrono::steady_clock::now();
    const auto result = vlm::loadTableText(*table, text, vlm::TableTextFormat::Clipboard, regional, nullptr, {});
    const auto loaded = std::chrono::steady_clock::now();
    vlm::buildAllDistinctValues(*table);
    readSeconds = std::chrono::duration<double>(parsed - start).count();
    passSeconds = std::chrono::duration<double>(loaded - parsed).count();
    distinctSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - loaded).count();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    peak = peakKiB();
    if (result.status != vlm::TextLoadStatus::Loaded || result.rows != kRows) state.SkipWithError("load failed");
  }
  state.counters["seconds"] = seconds;
  state.counters["read_s"] = readSeconds;
  state.counters["passes_s"] = passSeconds;
  state.counters["distinct_s"] = distinctSeconds;
  state.counters["rows_per_s"] = kRows / seconds;
  state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
  state.counters["load_MiB"] = static_cast<double>(peak - before) / 1024.0;
  const double pandas = pandasSeconds(path);
  if (pandas > 0) {
    state.counters["pandas_s"] = pandas;
    state.counters["vs_pandas"] = pandas / seconds;
    std::printf("paste path %.3f s, pandas.read_csv %.3f s: %.2fx %s than pandas\n", seconds, pandas,
                pandas > seconds ? pandas / seconds : seconds / pandas, pandas > seconds ? "faster" : "slower");
  } else {
    std::printf("paste path %.3f s (pandas not available)\n", seconds);
  }
  std::error_code error;
  std::filesystem::remove(path, error);
}
BENCHMARK(BM_PasteMillionRows)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
