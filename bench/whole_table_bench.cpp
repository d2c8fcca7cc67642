// The whole-table load as an analyst meets it: vlm_OpenFile of a generated
// tab-separated file (integers, reals, short texts, ISO dates) to the end of
// the load (both passes and the distinct-value analysis), then the default
// model built on it (normalise and place; compiling the lists is the
// renderer's and is not counted here). pandas.read_csv (dates parsed) and
// DuckDB's read_csv (two threads) read the same file in the same run, taking
// turns with this program (VLM_BENCH_ROUNDS rounds, 3 unless set); the ratios
// are this program's time over theirs (below 1: faster).
#include <benchmark/benchmark.h>

#include <QObject>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/engine_state.h"
#include "engine/scene/model_builders.h"
#include "engine/vlmapi.h"
#include "platform/host_bridge.h"
#include "platform/message_box.h"
#include "platform/registry_store.h"
#include "scene/object_record.h"
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

// This machine's speed drifts by a fifth and more within a minute, so one
// measurement of each side says little. The sides take turns instead, round
// after round, and the figures are medians: of each side's times, and of the
// ratios within a round (the sides of a round met the same machine).
int roundCount() {
  const char* text = std::getenv("VLM_BENCH_ROUNDS");
  const int rounds = text ? std::atoi(text) : 3;
  return std::clamp(rounds, 1, 25);
}

template <class T>
T median(std::vector<T> values) {
  if (values.empty()) return T{};
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

struct OwnRound {
  double load = 0, rebuild = 0, cpu = 0;
};

// One figure of every round, in round order.
std::vector<double> column(const std::vector<OwnRound>& rounds, double OwnRound::*figure) {
  std::vector<double> values;
  for (const OwnRound& r : rounds) values.push_back(r.*figure);
  return values;
}

// `ownPeakKiB` is the first round's: a later load starts with the table of
// the one before still held, which it frees while it reads.
void reportPeer(benchmark::State& st, const char* name, const std::vector<bench::PeerResult>& peer,
                const std::vector<OwnRound>& own, long ownPeakKiB, int64_t rows) {
  std::vector<double> seconds, cpu, time, processor;
  std::vector<long> peak;
  for (size_t r = 0; r < peer.size(); ++r) {
    const bench::PeerResult& p = peer[r];
    if (!p.ran || p.rows != rows || p.seconds <= 0) {
      std::printf("  %s: not measured (not installed or failed)\n", name);
      return;
    }
    seconds.push_back(p.seconds);
    cpu.push_back(p.cpuSeconds);
    peak.push_back(p.peakKiB);
    time.push_back(own[r].load / p.seconds);
    processor.push_back(p.cpuSeconds > 0 ? own[r].cpu / p.cpuSeconds : 0);
  }
  const long theirPeak = median(peak);
  const double memory = theirPeak > 0 ? static_cast<double>(ownPeakKiB) / static_cast<double>(theirPeak) : 0;
  std::string each;
  for (double t : time) each += (each.empty() ? "" : " ") + std::to_string(t).substr(0, 4);
  st.counters[std::string(name) + "_s"] = median(seconds);
  st.counters[std::string("vs_") + name] = median(time);
  st.counters[std::string("mem_vs_") + name] = memory;
  st.counters[std::string("cpu_vs_") + name] = median(processor);
  std::printf("  %-7s %.3f s (processor %.3f s), peak +%ld MiB; ours / theirs: time %.2f (rounds: %s), "
              "processor %.2f, memory %.2f\n",
              name, median(seconds), median(cpu), theirPeak / 1024, median(time), each.c_str(), median(processor),
              memory);
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
  const int rounds = roundCount();
  std::vector<OwnRound> own;
  long peak = 0;
  std::vector<bench::PeerResult> pandas, duckdb;
  const size_t warm = bench::warmupBytesFor(path);
  {
    Engine engine(dir / "engine");
    if (!engine.state) {
      st.SkipWithError("the engine did not start");
      return;
    }
    for (auto _ : st) {
      for (int r = 0; r < rounds; ++r) {
        OwnRound round;
        bench::warmFreeMemory(warm);
        bench::resetPeakResident();
        const long before = bench::residentKiB();
        const double cpuBefore = bench::processCpuSeconds();
        round.load = engine.open(path);
        round.cpu = bench::processCpuSeconds() - cpuBefore;
        if (r == 0) peak = bench::peakResidentKiB() - before;
        if (round.load < 0 || engine.state->data->rowCount != shape.rows) break;
        // The objects are new memory as well: readied as the load's was.
        if (warm > 0) bench::warmFreeMemory(static_cast<size_t>(shape.rows) * sizeof(ObjectRecord) + (size_t{64} << 20));
        const auto start = Clock::now();
        buildDefaultModel(*engine.state, engine.state->model->defaultModelKind);
        round.rebuild = secondsSince(start);
        own.push_back(round);
        pandas.push_back(bench::runPandas(path, bench::kDateColumns, warm));
        duckdb.push_back(bench::runDuckDb(path, warm));
      }
      if (own.size() < static_cast<size_t>(rounds)) {
        st.SkipWithError("the load failed");
        break;
      }
      st.SetIterationTime(median(column(own, &OwnRound::load)));
    }
  }
  std::error_code error;
  if (own.size() < static_cast<size_t>(rounds)) {
    std::filesystem::remove_all(dir, error);
    return;
  }
  const std::vector<double> load = column(own, &OwnRound::load), rebuild = column(own, &OwnRound::rebuild),
                            cpu = column(own, &OwnRound::cpu);
  std::string each;
  for (const OwnRound& r : own)
    each += (each.empty() ? "" : ", ") + std::to_string(r.load).substr(0, 5) + "/" + std::to_string(r.rebuild).substr(0, 5);
  st.counters["load_s"] = median(load);
  st.counters["rebuild_s"] = median(rebuild);
  st.counters["rows_per_s"] = static_cast<double>(shape.rows) / median(load);
  st.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
  st.counters["cpu_s"] = median(cpu);
  std::printf("\n%lld rows, %s codes, median of %d rounds: load %.3f s (processor %.3f s, first load's peak +%ld MiB), "
              "default model %.3f s (load/model by round: %s)\n",
              static_cast<long long>(shape.rows), st.range(1) ? "all distinct" : "5000", rounds, median(load),
              median(cpu), peak / 1024, median(rebuild), each.c_str());
  reportPeer(st, "pandas", pandas, own, peak, shape.rows);
  reportPeer(st, "duckdb", duckdb, own, peak, shape.rows);
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
