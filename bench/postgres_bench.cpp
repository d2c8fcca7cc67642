// Streaming tables of a PostgreSQL server into the data table, as the
// database loader does (COPY in text format, one record per "NextRow"), next
// to psql's "\copy (SELECT ...) TO STDOUT" of the same table in the same run;
// and a 1 % sample of the largest table chosen on the server (at random, and
// every 100th row), so that only the sample crosses the connection. The
// server is a throw-away cluster started here and reached, by the loader and
// by psql alike, over a TCP port of the loopback interface; without the
// server programs the benchmark is skipped.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "data/data_table.h"
#include "platform/database/postgres_database.h"
#include "platform/message_box.h"
#include "platform/support/postgres_server.h"
#include "platform/workspace/workspace.h"
#include "platform/workspace/workspace_server.h"
#include "sources/sampling.h"
#include "support/conversation_load.h"

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

vlm::test::PostgresServer* server(benchmark::State& state) {
  std::string why;
  auto* s = vlm::platform::db::postgresEngineAvailable() ? vlm::test::PostgresServer::shared(why, true) : nullptr;
  if (!s) state.SkipWithError(("no PostgreSQL server: " + why).c_str());
  return s;
}

// A table of `rows` rows and 8 columns (integers, reals, texts, a date),
// made once per run (the cluster goes with the run). It is vacuumed once
// made, as a server's tables are by the time they are read: the first scan
// after CREATE TABLE AS would otherwise write every page back (hint bits),
// a cost of the table's creation that only the first reader would pay.
std::string makeTable(vlm::test::PostgresServer& s, int64_t rows) {
  const std::string name = "orders_" + std::to_string(rows);
  const std::string error = s.sql(
      "CREATE UNLOGGED TABLE IF NOT EXISTS " + name +
      " AS SELECT i::integer AS id, ((i * 7919) % 1000)::integer AS count, ((i * 104729) % 10000000) / 100.0::float8 AS price,"
      " ((i * 31) % 10000) / 10000.0::float8 AS ratio,"
      " (ARRAY['Oslo','Lyon','Graz','Porto','Turku','Brno','Cork','Bari'])[1 + i % 8] AS city,"
      " 'K' || lpad(((i * 13) % 5000)::text, 4, '0') AS code, DATE '2010-01-01' + (i % 5000)::int AS day,"
      " ((i * 17) % 12 + 1) || '/' || ((i * 5) % 28 + 1) || '/2019' AS shipped"
      " FROM generate_series(0::bigint, " + std::to_string(rows - 1) + ") AS i;\nVACUUM (ANALYZE) " + name + ";");
  if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
  return name;
}

vlm::platform::RegionalSettings regional() {
  vlm::platform::RegionalSettings r;
  r.decimalSeparator = '.';
  r.decimalSeparatorKnown = true;
  return r;
}

// Opens the server in the workspace; its data source name.
std::string openServer(vlm::test::PostgresServer& s) {
  vlm::platform::setMessageBoxHandler([](const vlm::platform::MessageBoxRequest& r) {
    std::fprintf(stderr, "%s\n", r.text.c_str());
    return 1;
  });
  auto& w = vlm::platform::workspace::Workspace::instance();
  w.openCurrentDatabase(s.uri());
  return vlm::platform::workspace::dataSourceName(w.currentPath());
}

void closeServer() {
  vlm::platform::workspace::Workspace::instance().closeCurrentDatabase();
  vlm::platform::setMessageBoxHandler(nullptr);
}

void BM_PostgresStream(benchmark::State& state) {
  auto* s = server(state);
  if (!s) return;
  const int64_t rows = state.range(0);
  const std::string table = makeTable(*s, rows);
  const std::string source = openServer(*s);
  auto data = std::make_unique<vlm::DataTable>();
  vlm::bench::ConversationLoad load;
  for (auto _ : state) {
    load = vlm::bench::loadThroughConversation(*data, source, table, static_cast<int32_t>(rows), regional());
    state.SetIterationTime(load.seconds);
    if (load.rows != rows) state.SkipWithError("load failed");
  }
  closeServer();
  data.reset();
  const auto start = Clock::now();
  const std::string copy = s->psql() + " -c '\\copy (SELECT * FROM " + table + ") TO STDOUT' > /dev/null";
  const bool copied = std::system(copy.c_str()) == 0;
  const double psql = since(start);
  state.counters["rows_per_s"] = static_cast<double>(rows) / load.seconds;
  state.counters["store_s"] = load.storeSeconds;
  state.counters["cpu_s"] = load.cpuSeconds;
  if (copied) {
    state.counters["psql_rows_per_s"] = static_cast<double>(rows) / psql;
    state.counters["vs_psql"] = load.seconds / psql;
  }
  std::printf("PostgreSQL %lld rows: %.0f rows/s (%.3f s, storing %.3f s, processor %.3f s); psql \\copy %.0f rows/s (%.3f s); ratio %.2f\n",
              static_cast<long long>(rows), static_cast<double>(rows) / load.seconds, load.seconds, load.storeSeconds,
              load.cpuSeconds,
              static_cast<double>(rows) / psql, psql, load.seconds / psql);
}
BENCHMARK(BM_PostgresStream)->Arg(1000000)->Arg(10000000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// A 1 % sample of the largest table chosen on the server: drawn at random
// (range(1) 0), as the Load Control's Random draws it, or every 100th row
// (range(1) 1).
void BM_PostgresServerSample(benchmark::State& state) {
  auto* s = server(state);
  if (!s) return;
  const int64_t rows = state.range(0);
  const bool random = state.range(1) == 0;
  const std::string table = makeTable(*s, rows);
  const std::string source = openServer(*s);
  auto data = std::make_unique<vlm::DataTable>();
  const int32_t kept = random ? vlm::sampleCountFor(static_cast<int32_t>(rows), 1) : static_cast<int32_t>(rows / 100);
  vlm::bench::ConversationLoad load;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    vlm::platform::db::RowSelection rowsWanted{0, -1, 100};
    if (random) {
      // The Load Control's draw, then the rows asked of the server by number.
      const std::vector<int32_t> list = vlm::drawSampleList(static_cast<int32_t>(rows), kept, 7);
      rowsWanted.rows = std::make_shared<std::vector<int64_t>>(list.begin(), list.end() - 1);
    }
    vlm::platform::workspace::Workspace::instance().setNextRowSelection(table, rowsWanted);
    load = vlm::bench::loadThroughConversation(*data, source, table, kept, regional());
    seconds = since(start);
    state.SetIterationTime(seconds);
    if (load.rows != kept) state.SkipWithError("sample load failed");
  }
  closeServer();
  state.counters["sample_rows"] = kept;
  state.counters["seconds"] = seconds;
  state.counters["cpu_s"] = load.cpuSeconds;
  std::printf("PostgreSQL 1%% sample (%s) of %lld rows on the server: %d rows in %.3f s (processor %.3f s)\n",
              random ? "random" : "every 100th row", static_cast<long long>(rows), kept, seconds, load.cpuSeconds);
}
BENCHMARK(BM_PostgresServerSample)
    ->Args({10000000, 0})
    ->Args({10000000, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
