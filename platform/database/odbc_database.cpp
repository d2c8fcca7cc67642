#include "platform/database/odbc_database.h"

#ifdef VLM_HAVE_ODBC
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#endif

namespace vlm::platform::db {

#ifndef VLM_HAVE_ODBC

bool odbcEngineAvailable() { return false; }

std::unique_ptr<Database> openOdbcDatabase(const ServerLogin&, std::string& error, bool& needsPassword) {
  needsPassword = false;
  error = "this build has no ODBC driver manager (unixODBC)";
  return nullptr;
}

#else

namespace {

using Clock = std::chrono::steady_clock;

bool ok(SQLRETURN r) { return r == SQL_SUCCESS || r == SQL_SUCCESS_WITH_INFO; }

// The driver's first diagnostic record, without the driver manager's
// bracketed prefixes; `state` gets its SQLSTATE.
std::string diagnostic(SQLSMALLINT type, SQLHANDLE handle, std::string* state = nullptr) {
  SQLCHAR sqlState[6] = {0};
  SQLCHAR text[1024] = {0};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  if (!ok(SQLGetDiagRec(type, handle, 1, sqlState, &native, text, sizeof text, &length)))
    return "the driver gave no reason";
  if (state) *state = reinterpret_cast<const char*>(sqlState);
  std::string out(reinterpret_cast<const char*>(text));
  while (!out.empty() && out.front() == '[') {
    const size_t close = out.find(']');
    if (close == std::string::npos) break;
    out.erase(0, close + 1);
  }
  while (!out.empty() && (out.back() == '.' || out.back() == '\n' || out.back() == ' ')) out.pop_back();
  while (!out.empty() && out.front() == ' ') out.erase(0, 1);
  return out.empty() ? "the driver gave no reason" : out;
}

// An environment and one connection of it.
struct Link {
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  bool connected = false;
  Link() = default;
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;
  ~Link() {
    if (connected) SQLDisconnect(dbc);
    if (dbc != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    if (env != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env);
  }
};

struct Statement {
  SQLHSTMT h = SQL_NULL_HSTMT;
  explicit Statement(SQLHDBC dbc) {
    if (!ok(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &h))) h = SQL_NULL_HSTMT;
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() {
    if (h != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, h);
  }
  std::string error() const { return h == SQL_NULL_HSTMT ? "out of statement handles" : diagnostic(SQL_HANDLE_STMT, h); }
};

std::string withPassword(const ServerLogin& login) {
  std::string out = login.connection.substr(login.connection.find(':') + 1);
  if (login.password.empty()) return out;
  std::string braced = "{";
  for (char c : login.password) {
    if (c == '}') braced.push_back('}');
    braced.push_back(c);
  }
  braced.push_back('}');
  if (!out.empty() && out.back() != ';') out.push_back(';');
  return out + "PWD=" + braced;
}

bool connectLink(const ServerLogin& login, Link& link, std::string& error, bool& needsPassword) {
  needsPassword = false;
  if (!ok(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &link.env)) ||
      !ok(SQLSetEnvAttr(link.env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)) ||
      !ok(SQLAllocHandle(SQL_HANDLE_DBC, link.env, &link.dbc))) {
    error = "the ODBC driver manager cannot be set up";
    return false;
  }
  SQLSetConnectAttr(link.dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(10), 0);
  const std::string text = withPassword(login);
  SQLCHAR out[1024];
  SQLSMALLINT outLength = 0;
  const SQLRETURN r = SQLDriverConnect(link.dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())),
                                       SQL_NTS, out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT);
  if (!ok(r)) {
    std::string state;
    error = diagnostic(SQL_HANDLE_DBC, link.dbc, &state);
    needsPassword = state == "28000" && login.password.empty();
    return false;
  }
  link.connected = true;
  return true;
}

ColumnKind kindOfType(SQLSMALLINT type) {
  switch (type) {
    case SQL_BIT: return ColumnKind::Boolean;
    case SQL_TINYINT: return ColumnKind::Byte;
    case SQL_SMALLINT: return ColumnKind::SmallInteger;
    case SQL_INTEGER: return ColumnKind::Integer;
    case SQL_BIGINT: return ColumnKind::BigInteger;
    case SQL_REAL: return ColumnKind::Single;
    case SQL_FLOAT: case SQL_DOUBLE: case SQL_DECIMAL: case SQL_NUMERIC: return ColumnKind::Double;
    case SQL_TYPE_DATE: case SQL_TYPE_TIME: case SQL_TYPE_TIMESTAMP: case SQL_DATE: case SQL_TIME: case SQL_TIMESTAMP:
      return ColumnKind::DateTime;
    case SQL_LONGVARCHAR: case SQL_WLONGVARCHAR: return ColumnKind::Memo;
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY: return ColumnKind::Binary;
    case SQL_CHAR: case SQL_VARCHAR: case SQL_WCHAR: case SQL_WVARCHAR: return ColumnKind::Text;
    default: return ColumnKind::Unknown;
  }
}

// How a column's values are read: whole numbers and floating-point numbers
// as numbers (written exactly here), binary values by their size, all else
// as the driver's text.
enum class Read { Integer, Real, Binary, Time, Text };

Read readOf(SQLSMALLINT type) {
  switch (type) {
    case SQL_BIT: case SQL_TINYINT: case SQL_SMALLINT: case SQL_INTEGER: case SQL_BIGINT: return Read::Integer;
    case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE: return Read::Real;
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY: return Read::Binary;
    case SQL_TYPE_DATE: case SQL_TYPE_TIME: case SQL_TYPE_TIMESTAMP: case SQL_DATE: case SQL_TIME: case SQL_TIMESTAMP:
      return Read::Time;
    default: return Read::Text;
  }
}

struct Described {
  std::string name;
  SQLSMALLINT type = SQL_UNKNOWN_TYPE;
};

std::optional<std::vector<Described>> describe(SQLHSTMT h) {
  SQLSMALLINT count = 0;
  if (!ok(SQLNumResultCols(h, &count))) return std::nullopt;
  std::vector<Described> out;
  for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(count); ++c) {
    SQLCHAR name[512] = {0};
    SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    if (!ok(SQLDescribeCol(h, c, name, sizeof name, &nameLength, &type, &size, &digits, &nullable))) return std::nullopt;
    out.push_back({reinterpret_cast<const char*>(name), type});
  }
  return out;
}

class OdbcCursor final : public Cursor {
 public:
  // With `passColumn`, each row of the whole table arrives, led by 1 when
  // it passes the filter and 0 when not; the cursor yields those that pass
  // and counts the others, so that a row knows its place in the table.
  OdbcCursor(std::unique_ptr<Link> link, const RowSelection& rows, bool passColumn)
      : link_(std::move(link)), stmt_(link_->dbc), rows_(rows), lead_(passColumn ? 1 : 0) {}

  bool execute(const std::string& sql, std::string& error) {
    if (stmt_.h == SQL_NULL_HSTMT ||
        !ok(SQLExecDirect(stmt_.h, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS))) {
      error = stmt_.error();
      return false;
    }
    auto columns = describe(stmt_.h);
    if (!columns) {
      error = stmt_.error();
      return false;
    }
    for (size_t i = static_cast<size_t>(lead_); i < columns->size(); ++i) reads_.push_back(readOf((*columns)[i].type));
    texts_.resize(reads_.size());
    nulls_.resize(reads_.size());
    return true;
  }

  Step next(Clock::time_point deadline) override {
    if (done_) return Step::End;
    for (;;) {
      if (Clock::now() > deadline) return fail("the data source did not answer in time");
      const SQLRETURN r = SQLFetch(stmt_.h);
      if (r == SQL_NO_DATA) {
        done_ = true;
        return Step::End;
      }
      if (!ok(r)) return fail(stmt_.error());
      ++base_;
      if (lead_) {
        SQLINTEGER pass = 0;
        SQLLEN indicator = 0;
        if (!ok(SQLGetData(stmt_.h, 1, SQL_C_SLONG, &pass, sizeof pass, &indicator))) return fail(stmt_.error());
        if (indicator == SQL_NULL_DATA || pass == 0) continue;
      }
      ++row_;
      // The driver reads every row; the ones before the selection are passed over.
      if (!rows_.rows && row_ < rows_.first) continue;
      if (!readRow()) return fail(stmt_.error());
      return Step::Row;
    }
  }

  int columnCount() const override { return static_cast<int>(reads_.size()); }
  bool cell(int column, std::string_view& text) override {
    if (column < 0 || static_cast<size_t>(column) >= texts_.size() || nulls_[static_cast<size_t>(column)]) return false;
    text = texts_[static_cast<size_t>(column)];
    return true;
  }
  int64_t sourceRow() const override { return row_; }
  int64_t baseRow() const override { return base_; }
  const std::string& error() const override { return error_; }

 private:
  Step fail(std::string why) {
    error_ = std::move(why);
    done_ = true;
    return Step::Failed;
  }

  bool readRow() {
    for (size_t i = 0; i < reads_.size(); ++i) {
      const auto c = static_cast<SQLUSMALLINT>(i + 1 + static_cast<size_t>(lead_));
      std::string& out = texts_[i];
      out.clear();
      SQLLEN indicator = 0;
      nulls_[i] = false;
      switch (reads_[i]) {
        case Read::Integer: {
          SQLBIGINT v = 0;
          if (!ok(SQLGetData(stmt_.h, c, SQL_C_SBIGINT, &v, sizeof v, &indicator))) return false;
          if (indicator == SQL_NULL_DATA) break;
          char buffer[24];
          out.assign(buffer, std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(v)).ptr);
          break;
        }
        case Read::Real: {
          double v = 0;
          if (!ok(SQLGetData(stmt_.h, c, SQL_C_DOUBLE, &v, sizeof v, &indicator))) return false;
          if (indicator == SQL_NULL_DATA || !std::isfinite(v)) {
            indicator = SQL_NULL_DATA;
            break;
          }
          char buffer[32];
          out.assign(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
          break;
        }
        case Read::Binary: {
          char dummy = 0;
          if (!ok(SQLGetData(stmt_.h, c, SQL_C_BINARY, &dummy, 0, &indicator))) return false;
          if (indicator == SQL_NULL_DATA) break;
          out = indicator == SQL_NO_TOTAL ? std::string("binary") : std::to_string(indicator) + " bytes";
          break;
        }
        case Read::Time:
        case Read::Text: {
          // Long texts arrive in parts, each ended by a NUL that is not part
          // of the value.
          char buffer[4096];
          for (;;) {
            const SQLRETURN r = SQLGetData(stmt_.h, c, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
            if (r == SQL_NO_DATA) break;
            if (!ok(r)) return false;
            if (indicator == SQL_NULL_DATA) break;
            const size_t got = indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof buffer)
                                   ? sizeof buffer - 1
                                   : static_cast<size_t>(indicator);
            out.append(buffer, got);
            if (r == SQL_SUCCESS) break;
          }
          // Points in time to the second, as every engine writes them.
          if (reads_[i] == Read::Time && out.size() > 19 && out[19] == '.') out.resize(19);
          break;
        }
      }
      nulls_[i] = indicator == SQL_NULL_DATA;
    }
    return true;
  }

  std::unique_ptr<Link> link_;
  Statement stmt_;
  RowSelection rows_;
  std::vector<Read> reads_;
  std::vector<std::string> texts_;
  std::vector<bool> nulls_;
  int lead_;
  int64_t row_ = -1, base_ = -1;
  bool done_ = false;
  std::string error_;
};

class OdbcDatabase final : public Database {
 public:
  OdbcDatabase(ServerLogin login, std::unique_ptr<Link> link) : login_(std::move(login)), link_(std::move(link)) {
    SQLCHAR quote[8] = {0};
    SQLSMALLINT length = 0;
    if (ok(SQLGetInfo(link_->dbc, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &length)) && quote[0] != ' ')
      dialect_.quote = reinterpret_cast<const char*>(quote);
  }

  const std::string& path() const override { return login_.connection; }
  std::string engineName() const override {
    SQLCHAR name[256] = {0};
    SQLSMALLINT length = 0;
    if (ok(SQLGetInfo(link_->dbc, SQL_DBMS_NAME, name, sizeof name, &length)) && name[0])
      return std::string(reinterpret_cast<const char*>(name)) + " (ODBC)";
    return "ODBC";
  }
  bool filtersRows() const override { return true; }

  std::unique_ptr<Database> reopen(std::string& error) override {
    auto link = std::make_unique<Link>();
    bool needsPassword = false;
    if (!connectLink(login_, *link, error, needsPassword)) return nullptr;
    return std::make_unique<OdbcDatabase>(login_, std::move(link));
  }

  std::optional<std::vector<ObjectInfo>> objects(std::string& error) override {
    Statement s(link_->dbc);
    SQLCHAR types[] = "TABLE,VIEW";
    if (s.h == SQL_NULL_HSTMT || !ok(SQLTables(s.h, nullptr, 0, nullptr, 0, nullptr, 0, types, SQL_NTS))) {
      error = s.error();
      return std::nullopt;
    }
    std::vector<ObjectInfo> out;
    relations_.clear();
    for (;;) {
      const SQLRETURN r = SQLFetch(s.h);
      if (r == SQL_NO_DATA) break;
      if (!ok(r)) {
        error = s.error();
        return std::nullopt;
      }
      const std::string schema = text(s.h, 2), name = text(s.h, 3), type = text(s.h, 4);
      if (name.empty()) continue;
      // Names of another schema than the default one carry it.
      std::string shown = name, sql = quoteIdentifier(name, dialect_);
      if (!schema.empty() && schema != "dbo" && schema != "main" && schema != "public") {
        shown = schema + "." + name;
        sql = quoteIdentifier(schema, dialect_) + "." + sql;
      }
      const ObjectKind kind = type == "VIEW" ? ObjectKind::Query : ObjectKind::Table;
      relations_[shown] = sql;
      out.push_back({shown, kind, nullptr});
    }
    return out;
  }

  std::optional<std::vector<Column>> columns(const ObjectInfo& object, std::string& error) override {
    const std::string from = fromClause(object, error);
    if (from.empty()) return std::nullopt;
    Statement s(link_->dbc);
    // Reading no rows tells the columns of tables and views alike, and runs
    // a view far enough to say when it cannot run.
    const std::string sql = "SELECT * FROM " + from + " WHERE 1 = 0";
    if (s.h == SQL_NULL_HSTMT || !ok(SQLExecDirect(s.h, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS))) {
      error = s.error();
      return std::nullopt;
    }
    auto described = describe(s.h);
    if (!described) {
      error = s.error();
      return std::nullopt;
    }
    std::vector<Column> out;
    for (const Described& d : *described) out.push_back({d.name, kindOfType(d.type)});
    return out;
  }

  std::optional<int64_t> rowCount(const ObjectInfo& object, std::string& error) override {
    const std::string from = fromClause(object, error);
    if (from.empty()) return std::nullopt;
    Statement s(link_->dbc);
    const std::string sql = "SELECT COUNT(*) FROM " + from;
    if (s.h == SQL_NULL_HSTMT || !ok(SQLExecDirect(s.h, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS)) ||
        !ok(SQLFetch(s.h))) {
      error = s.error();
      return std::nullopt;
    }
    SQLBIGINT n = 0;
    SQLLEN indicator = 0;
    if (!ok(SQLGetData(s.h, 1, SQL_C_SBIGINT, &n, sizeof n, &indicator))) {
      error = s.error();
      return std::nullopt;
    }
    return indicator == SQL_NULL_DATA ? 0 : static_cast<int64_t>(n);
  }

  std::unique_ptr<Cursor> open(const ObjectInfo& object, const RowSelection& rows, std::string& error) override {
    const std::string from = fromClause(object, error);
    if (from.empty()) return nullptr;
    // The stream has a connection of its own, so that the catalogue can be
    // asked while it runs.
    auto link = std::make_unique<Link>();
    bool needsPassword = false;
    if (!connectLink(login_, *link, error, needsPassword)) return nullptr;
    // A filter runs on the server, but only the client can number the
    // rows of the table portably: every row comes, with its verdict first.
    const std::string where = object.filter ? whereCondition(*object.filter, dialect_) : std::string();
    auto cursor = std::make_unique<OdbcCursor>(std::move(link), rows, !where.empty());
    const std::string sql = where.empty()
                                ? "SELECT * FROM " + from
                                : "SELECT CASE WHEN " + where + " THEN 1 ELSE 0 END, vlm_all.* FROM " +
                                      relations_[object.name] + " vlm_all";
    if (!cursor->execute(sql, error)) return nullptr;
    return cursor;
  }

 private:
  static std::string text(SQLHSTMT h, SQLUSMALLINT column) {
    char buffer[1024] = {0};
    SQLLEN indicator = 0;
    if (!ok(SQLGetData(h, column, SQL_C_CHAR, buffer, sizeof buffer, &indicator)) || indicator == SQL_NULL_DATA) return {};
    return buffer;
  }

  // The object as SQL, filtered when it carries a filter; empty (with
  // `error`) when there is no object of that name.
  std::string fromClause(const ObjectInfo& object, std::string& error) {
    auto it = relations_.find(object.name);
    if (it == relations_.end()) {
      if (!objects(error)) return {};
      it = relations_.find(object.name);
    }
    if (it == relations_.end()) {
      error = "there is no table or view of that name";
      return {};
    }
    if (!object.filter) return it->second;
    const std::string where = whereCondition(*object.filter, dialect_);
    if (where.empty()) return it->second;
    return "(SELECT * FROM " + it->second + " WHERE " + where + ") vlm_filtered";
  }

  ServerLogin login_;
  std::unique_ptr<Link> link_;
  SqlDialect dialect_{SqlFamily::Odbc, "\""};
  std::map<std::string, std::string> relations_;
};

}  // namespace

bool odbcEngineAvailable() { return true; }

std::unique_ptr<Database> openOdbcDatabase(const ServerLogin& login, std::string& error, bool& needsPassword) {
  auto link = std::make_unique<Link>();
  if (!connectLink(login, *link, error, needsPassword)) return nullptr;
  return std::make_unique<OdbcDatabase>(login, std::move(link));
}

#endif

}  // namespace vlm::platform::db
