#include "platform/database/sqlite_database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>

#include "platform/database/date_text.h"

namespace vlm::platform::db {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBusyMilliseconds = 1000;
constexpr int kProgressSteps = 1000;  // VM steps between two looks at the clock
constexpr int kTypeSampleRows = 100;

std::string upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::toupper(c); });
  return out;
}

// One open file. Cursors keep it alive; it is used by one thread at a time.
struct Connection {
  sqlite3* db = nullptr;
  Clock::time_point deadline = Clock::time_point::max();
  ~Connection() {
    if (db) sqlite3_close_v2(db);
  }
  std::string message() const { return db ? sqlite3_errmsg(db) : "out of memory"; }
  // Statements stop with SQLITE_INTERRUPT once the deadline passed.
  static int onProgress(void* self) { return Clock::now() > static_cast<Connection*>(self)->deadline ? 1 : 0; }
  void until(Clock::time_point d) { deadline = d; }
};

struct Statement {
  sqlite3_stmt* stmt = nullptr;
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(stmt); }
};

std::string stepError(Connection& c, int rc) {
  if (rc == SQLITE_INTERRUPT) return "the database did not answer in time";
  if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) return "the database is locked by another program";
  return c.message();
}

bool prepare(Connection& c, const std::string& sql, Statement& s, std::string& error) {
  const int rc = sqlite3_prepare_v2(c.db, sql.c_str(), static_cast<int>(sql.size()), &s.stmt, nullptr);
  if (rc != SQLITE_OK) {
    error = stepError(c, rc);
    return false;
  }
  return true;
}

Clock::time_point defaultDeadline() { return Clock::now() + std::chrono::seconds(10); }

// A column without a declared type takes the kind of the values it holds in
// the first rows.
ColumnKind kindOfValues(int seen) {
  if (seen & (1 << SQLITE_TEXT)) return ColumnKind::Text;
  if (seen & (1 << SQLITE_BLOB)) return ColumnKind::Binary;
  if (seen & (1 << SQLITE_FLOAT)) return ColumnKind::Double;
  if (seen & (1 << SQLITE_INTEGER)) return ColumnKind::Integer;
  return ColumnKind::Text;
}

class SqliteCursor final : public Cursor {
 public:
  SqliteCursor(std::shared_ptr<Connection> c, int64_t first) : c_(std::move(c)), row_(first - 1) {}

  // Only the declared types matter here: which columns hold dates.
  bool prepare(const std::string& sql, std::string& error) {
    if (!db::prepare(*c_, sql, s_, error)) return false;
    const int n = sqlite3_column_count(s_.stmt);
    for (int i = 0; i < n; ++i) {
      const char* decl = sqlite3_column_decltype(s_.stmt, i);
      kinds_.push_back(sqliteColumnKind(decl ? decl : ""));
    }
    return true;
  }

  Step next(Clock::time_point deadline) override {
    if (done_) return Step::End;
    c_->until(deadline);
    const int rc = sqlite3_step(s_.stmt);
    c_->until(Clock::time_point::max());
    if (rc == SQLITE_ROW) {
      ++row_;
      return Step::Row;
    }
    done_ = true;
    if (rc == SQLITE_DONE) return Step::End;
    error_ = stepError(*c_, rc);
    return Step::Failed;
  }

  int columnCount() const override { return static_cast<int>(kinds_.size()); }

  bool cell(int column, std::string_view& text) override {
    sqlite3_stmt* st = s_.stmt;
    const int type = sqlite3_column_type(st, column);
    switch (type) {
      case SQLITE_NULL:
        return false;
      case SQLITE_BLOB:
        scratch_ = std::to_string(sqlite3_column_bytes(st, column)) + " bytes";
        text = scratch_;
        return true;
      case SQLITE_INTEGER:
        if (kinds_[static_cast<size_t>(column)] == ColumnKind::DateTime) {
          // SQLite keeps dates as text, as a Julian day (real) or as Unix time (integer).
          scratch_ = unixTimeText(sqlite3_column_int64(st, column));
          text = scratch_;
          return true;
        }
        break;
      case SQLITE_FLOAT:
        if (kinds_[static_cast<size_t>(column)] == ColumnKind::DateTime) {
          scratch_ = julianDayText(sqlite3_column_double(st, column));
          if (!scratch_.empty()) {
            text = scratch_;
            return true;
          }
        }
        break;
      default:
        break;
    }
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
    if (!p) return false;
    text = std::string_view(p, static_cast<size_t>(sqlite3_column_bytes(st, column)));
    return true;
  }

  int64_t sourceRow() const override { return row_; }
  const std::string& error() const override { return error_; }

 private:
  std::shared_ptr<Connection> c_;
  Statement s_;
  std::vector<ColumnKind> kinds_;
  int64_t row_;
  bool done_ = false;
  std::string error_;
  std::string scratch_;
};

class SqliteDatabase final : public Database {
 public:
  SqliteDatabase(std::shared_ptr<Connection> c, std::string path) : c_(std::move(c)), path_(std::move(path)) {}

  const std::string& path() const override { return path_; }
  std::string engineName() const override { return "SQLite"; }

  std::optional<std::vector<ObjectInfo>> objects(std::string& error) override {
    Statement s;
    // Virtual tables are listed with their tables; their shadow tables are not.
    if (!prepare(*c_,
                 "SELECT name, type FROM pragma_table_list WHERE schema = 'main' AND type IN "
                 "('table', 'view', 'virtual') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                 "ORDER BY name COLLATE NOCASE",
                 s, error))
      return std::nullopt;
    std::vector<ObjectInfo> out;
    c_->until(defaultDeadline());
    int rc;
    while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
      const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(s.stmt, 0));
      const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(s.stmt, 1));
      if (!name || !type) continue;
      out.push_back({name, std::strcmp(type, "view") == 0 ? ObjectKind::Query : ObjectKind::Table});
    }
    c_->until(Clock::time_point::max());
    if (rc != SQLITE_DONE) {
      error = stepError(*c_, rc);
      return std::nullopt;
    }
    return out;
  }

  std::optional<std::vector<Column>> columns(const ObjectInfo& object, std::string& error) override {
    Statement s;
    if (!prepare(*c_, "SELECT * FROM " + quoteSqliteName(object.name), s, error)) return std::nullopt;
    const int n = sqlite3_column_count(s.stmt);
    std::vector<Column> out(static_cast<size_t>(n));
    bool unknown = false;
    for (int i = 0; i < n; ++i) {
      const char* name = sqlite3_column_name(s.stmt, i);
      const char* decl = sqlite3_column_decltype(s.stmt, i);
      out[static_cast<size_t>(i)].name = name ? name : "";
      out[static_cast<size_t>(i)].kind = sqliteColumnKind(decl ? decl : "");
      unknown = unknown || out[static_cast<size_t>(i)].kind == ColumnKind::Unknown;
    }
    if (!unknown) return out;
    // Expressions of a view, or columns declared without a type: look at the values.
    std::vector<int> seen(static_cast<size_t>(n), 0);
    c_->until(defaultDeadline());
    int rc = SQLITE_ROW;
    for (int row = 0; row < kTypeSampleRows && (rc = sqlite3_step(s.stmt)) == SQLITE_ROW; ++row)
      for (int i = 0; i < n; ++i) seen[static_cast<size_t>(i)] |= 1 << sqlite3_column_type(s.stmt, i);
    c_->until(Clock::time_point::max());
    // A row that fails (a view's error at run time, a slow first row) ends
    // the look: the stream will say what went wrong when it gets there.
    (void)rc;
    for (int i = 0; i < n; ++i) {
      Column& col = out[static_cast<size_t>(i)];
      if (col.kind == ColumnKind::Unknown) col.kind = kindOfValues(seen[static_cast<size_t>(i)] & ~(1 << SQLITE_NULL));
    }
    return out;
  }

  std::optional<int64_t> rowCount(const ObjectInfo& object, std::string& error) override {
    Statement s;
    if (!prepare(*c_, "SELECT count(*) FROM " + quoteSqliteName(object.name), s, error)) return std::nullopt;
    c_->until(defaultDeadline());
    const int rc = sqlite3_step(s.stmt);
    c_->until(Clock::time_point::max());
    if (rc != SQLITE_ROW) {
      error = stepError(*c_, rc);
      return std::nullopt;
    }
    return sqlite3_column_int64(s.stmt, 0);
  }

  std::unique_ptr<Cursor> open(const ObjectInfo& object, const RowSelection& rows, std::string& error) override {
    std::string sql = "SELECT * FROM " + quoteSqliteName(object.name);
    const int64_t first = std::max<int64_t>(rows.first, 0);
    if (rows.count >= 0 || first > 0)
      sql += " LIMIT " + std::to_string(rows.count >= 0 ? rows.count : -1) + " OFFSET " + std::to_string(first);
    auto cursor = std::make_unique<SqliteCursor>(c_, first);
    if (!cursor->prepare(sql, error)) return nullptr;
    return cursor;
  }

 private:
  std::shared_ptr<Connection> c_;
  std::string path_;
};

}  // namespace

std::string quoteSqliteName(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

ColumnKind sqliteColumnKind(std::string_view declaredType) {
  const std::string t = upper(declaredType);
  if (t.empty()) return ColumnKind::Unknown;
  auto has = [&](const char* part) { return t.find(part) != std::string::npos; };
  if (has("BOOL")) return ColumnKind::Boolean;
  if (has("INT")) {
    if (has("BIGINT") || has("INT8")) return ColumnKind::BigInteger;
    if (has("TINYINT")) return ColumnKind::Byte;
    if (has("SMALLINT")) return ColumnKind::SmallInteger;
    return ColumnKind::Integer;
  }
  if (has("DATE") || has("TIME")) return ColumnKind::DateTime;
  if (has("CLOB")) return ColumnKind::Memo;
  if (has("CHAR") || has("TEXT")) return ColumnKind::Text;
  if (has("BLOB")) return ColumnKind::Binary;
  if (has("REAL") || has("DOUB")) return ColumnKind::Double;
  if (has("FLOA")) return ColumnKind::Double;
  if (has("MONEY") || has("CURRENCY")) return ColumnKind::Currency;
  if (has("NUMERIC") || has("DECIMAL")) return ColumnKind::Double;
  return ColumnKind::Unknown;
}

bool isSqliteFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[16] = {};
  in.read(head, sizeof head);
  return in.gcount() == 16 && std::memcmp(head, "SQLite format 3", 16) == 0;
}

std::unique_ptr<Database> openSqliteDatabase(const std::string& path, std::string& error) {
  auto c = std::make_shared<Connection>();
  const int rc = sqlite3_open_v2(path.c_str(), &c->db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    error = c->message();
    return nullptr;
  }
  sqlite3_busy_timeout(c->db, kBusyMilliseconds);
  sqlite3_progress_handler(c->db, kProgressSteps, &Connection::onProgress, c.get());
  // SQLite reads lazily: a file that is no database shows at its first statement.
  Statement s;
  if (!prepare(*c, "SELECT count(*) FROM sqlite_schema", s, error)) return nullptr;
  c->until(defaultDeadline());
  const int step = sqlite3_step(s.stmt);
  c->until(Clock::time_point::max());
  if (step != SQLITE_ROW) {
    error = stepError(*c, step);
    return nullptr;
  }
  return std::make_unique<SqliteDatabase>(std::move(c), path);
}

}  // namespace vlm::platform::db
