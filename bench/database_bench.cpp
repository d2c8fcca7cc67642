// Streaming a 1 000 000-row x 8-column SQLite table through the conversation
// layer into the data table, as the database loader does: the workspace
// answers "NextRow" one record at a time, the records are stored 1000 at a
// time, the distinct values are built at the end. Reports rows per second
// for the whole load and for its parts:
//   engine_s        the SQLite cursor alone (stepping and reading every cell)
//   conversation_s  the conversation's own share: one request per record,
//                   the record written as text (everything but the cursor)
//   store_s         parsing the record texts into the table
// next to the paste path on the same rows as tab-separated text, and the
// sqlite3 shell dumping the table with -separator '\t' (when installed).
#include <benchmark/benchmark.h>

#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "data/cell_loader.h"
#include "data/distinct_values.h"
#include "data/field_analysis.h"
#include "data/field_name.h"
#include "data/source_types.h"
#include "data/table_clear.h"
#include "data/table_growth.h"
#include "data/table_text_load.h"
#include "platform/dde/conversation.h"
#include "platform/database/database.h"
#include "platform/message_box.h"
#include "platform/workspace/workspace.h"
#include "sources/access/access_loader.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRows = 1000000;

double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// The rows of the paste benchmark, as typed columns.
std::string makeDatabase() {
  const auto path = std::filesystem::temp_directory_path() / ("vlm-db-bench-" + std::to_string(::getpid()) + ".sqlite");
  std::filesystem::remove(path);
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db,
               "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; CREATE TABLE orders(id INTEGER, count INTEGER, "
               "price REAL, ratio REAL, city TEXT, code TEXT, day DATE, shipped TEXT); BEGIN;",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO orders VALUES (?, ?, ?, ?, ?, ?, ?, ?)", -1, &insert, nullptr);
  static const char* const cities[] = {"Oslo", "Lyon", "Graz", "Porto", "Turku", "Brno", "Cork", "Bari"};
  uint32_t seed = 2463534242u;
  auto next = [&] {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    return seed;
  };
  char code[16], day[16], shipped[16];
  for (int i = 0; i < kRows; ++i) {
    const uint32_t r = next(), s = next();
    std::snprintf(code, sizeof code, "K%04u", s % 5000);
    std::snprintf(day, sizeof day, "20%02u-%02u-%02u", 10 + r % 14, 1 + s % 12, 1 + r % 28);
    std::snprintf(shipped, sizeof shipped, "%02u/%02u/20%02u", 1 + s % 12, 1 + (r >> 8) % 28, 10 + (s >> 8) % 14);
    sqlite3_bind_int(insert, 1, i);
    sqlite3_bind_int(insert, 2, static_cast<int>(r % 1000));
    sqlite3_bind_double(insert, 3, (r % 100000) + (s % 100) / 100.0);
    sqlite3_bind_double(insert, 4, (s % 10000) / 10000.0);
    sqlite3_bind_text(insert, 5, cities[r % 8], -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 6, code, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 7, day, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 8, shipped, -1, SQLITE_TRANSIENT);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return path.string();
}

vlm::platform::RegionalSettings regional() {
  vlm::platform::RegionalSettings r;
  r.decimalSeparator = '.';
  r.decimalSeparatorKnown = true;
  return r;
}

// Seconds the engine's cursor takes to step through the table reading every cell.
double cursorSeconds(const std::string& path) {
  std::string error;
  auto db = vlm::platform::db::openDatabaseFile(path, error);
  auto cursor = db->open({"orders", vlm::platform::db::ObjectKind::Table}, {}, error);
  const auto start = Clock::now();
  size_t bytes = 0;
  while (cursor->next(Clock::now() + std::chrono::seconds(10)) == vlm::platform::db::Step::Row) {
    for (int c = 0; c < cursor->columnCount(); ++c) {
      std::string_view t;
      if (cursor->cell(c, t)) bytes += t.size();
    }
  }
  benchmark::DoNotOptimize(bytes);
  return since(start);
}

// The sqlite3 shell dumping the table as tab-separated text; negative without the shell.
double shellSeconds(const std::string& path) {
  if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0) return -1;
  const std::string command = "sqlite3 -separator '\t' '" + path + "' 'SELECT * FROM orders' > /dev/null";
  const auto start = Clock::now();
  if (std::system(command.c_str()) != 0) return -1;
  return since(start);
}

// The same rows as a tab-separated text (what a paste would hold).
std::string tableText(const std::string& path) {
  std::string error;
  auto db = vlm::platform::db::openDatabaseFile(path, error);
  auto cursor = db->open({"orders", vlm::platform::db::ObjectKind::Table}, {}, error);
  std::string text = "id\tcount\tprice\tratio\tcity\tcode\tday\tshipped\r\n";
  text.reserve(80u * kRows);
  while (cursor->next(Clock::now() + std::chrono::seconds(10)) == vlm::platform::db::Step::Row) {
    for (int c = 0; c < cursor->columnCount(); ++c) {
      std::string_view t;
      if (c) text.push_back('\t');
      if (cursor->cell(c, t)) text.append(t);
    }
    text += "\r\n";
  }
  return text;
}

void BM_DatabaseMillionRows(benchmark::State& state) {
  using vlm::platform::dde::Conversation;
  vlm::platform::setMessageBoxHandler([](const vlm::platform::MessageBoxRequest& r) {
    std::fprintf(stderr, "%s\n", r.text.c_str());
    return 1;
  });
  const std::string path = makeDatabase();
  auto& workspace = vlm::platform::workspace::Workspace::instance();
  workspace.openCurrentDatabase(path);
  const std::string source = std::filesystem::path(path).filename().string();
  const auto settings = regional();
  auto table = std::make_unique<vlm::DataTable>();
  double seconds = 0, streamSeconds = 0, storeSeconds = 0, distinctSeconds = 0;
  for (auto _ : state) {
    vlm::clearTable(*table);
    const auto start = Clock::now();
    std::string answer;
    Conversation fields = Conversation::connect("MSAccess", source + ";TABLE orders");
    fields.request("FieldNames;T", answer);
    // The type codes are on the second line.
    const std::string codes = answer.substr(answer.find("\r\n") + 2);
    int f = 0;
    for (size_t a = 0, b = 0; a < codes.size() && f < 8; a = b + 1, ++f) {
      b = codes.find_first_of("\t\r", a);
      const int code = std::atoi(codes.c_str() + a);
      vlm::DataField& field = table->fields[static_cast<size_t>(f)];
      field.type = vlm::fieldTypeFromSourceCode(vlm::DSK_ACCESS, code);
      field.analysisClass = static_cast<uint8_t>(code);
      vlm::resetFieldAnalysis(field);
      field.flags |= vlm::kFieldValid;
      vlm::setFieldName(field, "f" + std::to_string(f), f + 1);
    }
    table->fieldCount = 8;
    Conversation stream = Conversation::connect("MSAccess", source + "; TABLE orders");
    std::string buffer;
    std::vector<size_t> starts;
    std::vector<int32_t> ids;
    int32_t index = 0;
    bool more = true;
    double streamed = 0, stored = 0;
    while (more) {
      const auto chunk = Clock::now();
      buffer.clear(), starts.clear(), ids.clear();
      while (starts.size() < 1000 && (more = stream.request("NextRow", answer))) {
        starts.push_back(buffer.size());
        buffer.append(answer);
        buffer.push_back('\0');
        ids.push_back(index++);
      }
      const auto storing = Clock::now();
      streamed += std::chrono::duration<double>(storing - chunk).count();
      const auto rows = table->rowCount.get();
      const auto needed = rows + static_cast<int32_t>(starts.size());
      if (needed > table->rowCapacity) vlm::growRows(*table, vlm::grownCapacity(table->rowCapacity, needed, kRows));
      vlm::CellLoader loader(*table, settings, buffer);
      for (size_t j = 0; j < starts.size(); ++j)
        vlm::storeRecord(*table, loader, rows + static_cast<int32_t>(j), ids[j], buffer.c_str() + starts[j]);
      loader.finish();
      table->rowCount = needed;
      stored += since(storing);
    }
    const auto distinct = Clock::now();
    vlm::buildAllDistinctValues(*table);
    distinctSeconds = since(distinct);
    seconds = since(start);
    streamSeconds = streamed;
    storeSeconds = stored;
    state.SetIterationTime(seconds);
    if (table->rowCount != kRows) state.SkipWithError("load failed");
  }
  const double engine = cursorSeconds(path);
  const double conversation = streamSeconds - engine;
  state.counters["seconds"] = seconds;
  state.counters["rows_per_s"] = kRows / seconds;
  state.counters["engine_s"] = engine;
  state.counters["conversation_s"] = conversation;
  state.counters["store_s"] = storeSeconds;
  state.counters["distinct_s"] = distinctSeconds;
  state.counters["conv_vs_store"] = conversation / storeSeconds;

  // The paste path on the same rows.
  const std::string text = tableText(path);
  auto pasted = std::make_unique<vlm::DataTable>();
  const auto pasteStart = Clock::now();
  const auto result = vlm::loadTableText(*pasted, text, vlm::TableTextFormat::Clipboard, settings, nullptr, {});
  vlm::buildAllDistinctValues(*pasted);
  const double paste = since(pasteStart);
  if (result.rows == kRows) state.counters["paste_rows_per_s"] = kRows / paste;
  const double shell = shellSeconds(path);
  if (shell > 0) state.counters["sqlite3_rows_per_s"] = kRows / shell;
  std::printf(
      "database load %.0f rows/s (%.3f s: engine cursor %.3f s, conversation %.3f s, storing %.3f s, distinct %.3f s; "
      "conversation/storing %.2f); paste path %.0f rows/s; sqlite3 -separator tab %s rows/s\n",
      kRows / seconds, seconds, engine, conversation, storeSeconds, distinctSeconds, conversation / storeSeconds,
      kRows / paste, shell > 0 ? std::to_string(static_cast<long>(kRows / shell)).c_str() : "(not installed)");
  workspace.closeCurrentDatabase();
  vlm::platform::setMessageBoxHandler(nullptr);
  std::filesystem::remove(path);
}
BENCHMARK(BM_DatabaseMillionRows)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
