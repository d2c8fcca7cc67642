// The whole-table load as an analyst meets it: vlm_OpenFile of a generated
// tab-separated file (integers, reals, short texts, ISO dates) to the end of
// the load (both passes and the distinct-value analysis), then the default
// model built on it (normalise and place; compiling the lists is the
// renderer's and is not counted here). pandas.read_csv (dates parsed) and
// DuckDB's read_csv (two threads) read the same file in the same run; the
// ratios are this program's time over theirs (below 1: faster).
#include <benchmark/benchmark.h>

#include <QObject>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "engine/engine_state.h"
#include "engine/scene/model_builders.h"
#include "engine/vlmapi.h"
#include "platform/host_bridge.h"
#include "platform/message_box.h"
#include "platform/registry_store.h"
#include "support/memory_warmup.h"
#include "support/peer_run.h"
#include "support/table_file.h"

namespace {

using namespace vlm;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// An engine on a stand-in host, without a window: the load runs on its data
// thread as in the program, the model is built on the calling thread.
struct Engine {
  std::filesystem::path dir;
  std::unique_ptr<QObject> host = std::make_unique<QObject>();
  std::shared_ptr<EngineState> state;
  platform::MessageBoxHandler previousBoxes;
  int instance = 0;

  explicit Engine(const std::filesystem::path& folder) : dir(folder) {
    std::filesystem::create_directories(dir);
    platform::RegistryStore::redirect((dir / "user").string(), (dir / "machine").string());
    // A box would wait for a click; a failed load shows in the row count.
    previousBoxes = platform::setMessageBoxHandler([](const platform::MessageBoxRequest&) { return 1; });
    if (vlm_InitSystem(&instance, host.get(), nullptr, nullptr, 23) == 1) state = currentState();
  }
  ~Engine() {
    state.reset();
    vlm_DeinitSystem();
    platform::setMessageBoxHandler(previousBoxes);
  }

  // Seconds from vlm_OpenFile to the end of the data thread's load, or -1.
  double open(const std::string& path) {
    state->main->dataDone.reset();
    const auto start = Clock::now();
    if (vlm_OpenFile(path.c_str(), 0) != 1) return -1;
    const bool done = platform::HostBridge::instance().waitPumping(
        [this] { return state->main->dataDone.isSet(); }, std::chrono::minutes(10));
    return done ? secondsSince(start) : -1;
  }
};

void reportPeer(benchmark::State& st, const char* name, const bench::PeerResult& peer, double seconds,
                double cpu, long peakKiB, int64_t rows) {
  if (!peer.ran || peer.rows != rows) {
    std::printf("  %s: not measured (not installed or failed)\n", name);
    return;
  }
  st.counters[std::string(name) + "_s"] = peer.seconds;
  st.counters[std::string("vs_") + name] = seconds / peer.seconds;
  st.counters[std::string("mem_vs_") + name] = peer.peakKiB > 0 ? static_cast<double>(peakKiB) / peer.peakKiB : 0;
  st.counters[std::string("cpu_vs_") + name] = peer.cpuSeconds > 0 ? cpu / peer.cpuSeconds : 0;
  std::printf("  %-7s %.3f s (processor %.3f s), peak +%ld MiB; ours / theirs: time %.2f, processor %.2f, memory %.2f\n",
              name, peer.seconds, peer.cpuSeconds, peer.peakKiB / 1024, seconds / peer.seconds,
              peer.cpuSeconds > 0 ? cpu / peer.cpuSeconds : 0.0,
              peer.peakKiB > 0 ? static_cast<double>(peakKiB) / peer.peakKiB : 0.0);
}

void BM_OpenWholeTable(benchmark::State& st) {
  bench::TableFileShape shape;
  shape.rows = st.range(0);
  shape.distinctCodes = st.range(1) ? shape.rows : 5000;
  const auto dir = std::filesystem::temp_directory_path() / ("vlm-whole-table-" + std::to_string(::getpid()));
  const std::string path = (dir / "table.tsv").string();
  std::filesystem::create_directories(dir);
  if (!bench::writeTableFile(path, shape)) {
    st.SkipWithError("cannot write the table file");
    return;
  }
  double load = 0, rebuild = 0, cpu = 0;
  long peak = 0;
  const size_t warm = bench::warmupBytesFor(path);
  {
    Engine engine(dir / "engine");
    if (!engine.state) {
      st.SkipWithError("the engine did not start");
      return;
    }
    for (auto _ : st) {
      bench::warmFreeMemory(warm);
      bench::resetPeakResident();
      const long before = bench::residentKiB();
      const double cpuBefore = bench::processCpuSeconds();
      load = engine.open(path);
      cpu = bench::processCpuSeconds() - cpuBefore;
      peak = bench::peakResidentKiB() - before;
      if (load < 0 || engine.state->data->rowCount != shape.rows) {
        st.SkipWithError("the load failed");
        break;
      }
      const auto start = Clock::now();
      buildDefaultModel(*engine.state, engine.state->model->defaultModelKind);
      rebuild = secondsSince(start);
      st.SetIterationTime(load);
    }
  }
  st.counters["load_s"] = load;
  st.counters["rebuild_s"] = rebuild;
  st.counters["rows_per_s"] = static_cast<double>(shape.rows) / load;
  st.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
  st.counters["cpu_s"] = cpu;
  std::printf("\n%lld rows, %s codes: load %.3f s (processor %.3f s, peak +%ld MiB), default model %.3f s\n",
              static_cast<long long>(shape.rows), st.range(1) ? "all distinct" : "5000", load, cpu, peak / 1024,
              rebuild);
  reportPeer(st, "pandas", bench::runPandas(path, bench::kDateColumns, warm), load, cpu, peak, shape.rows);
  reportPeer(st, "duckdb", bench::runDuckDb(path, warm), load, cpu, peak, shape.rows);
  std::error_code error;
  std::filesystem::remove_all(dir, error);
}
BENCHMARK(BM_OpenWholeTable)
    ->Args({100000, 0})
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Args({4000000, 0})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
