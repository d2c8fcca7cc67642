#pragma once
// A database engine behind the database workspace: what it holds (tables and
// queries), the columns of each, how many rows, and a cursor that streams the
// rows as texts without materialising the object. Each engine (an embedded
// file engine, a database server) implements this interface; nothing above it
// knows which engine answers.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/database/row_filter.h"

namespace vlm::platform::db {

enum class ObjectKind { Table, Query };

struct ObjectInfo {
  std::string name;
  ObjectKind kind = ObjectKind::Table;
  // Only the rows that pass this filter make up the object (its count, its
  // rows and their order); null for all. Engines that cannot filter refuse it.
  std::shared_ptr<const RowFilter> filter;
};

// What a column holds, in terms every engine can answer.
enum class ColumnKind {
  Boolean,
  Byte,
  SmallInteger,
  Integer,   // up to 32 bits
  BigInteger,
  Currency,
  Single,
  Double,
  DateTime,
  Text,
  Memo,      // long text
  Binary,
  Unknown,   // no declared type: the engine could not tell
};

struct Column {
  std::string name;
  ColumnKind kind = ColumnKind::Unknown;
};

// Which rows of an object a cursor yields, by index in the object's own order
// (0-based). An engine that can select them itself (a server reading only
// those rows) does; otherwise the cursor yields every row from `first` on and
// the reader drops what it does not want, by each row's sourceRow().
struct RowSelection {
  int64_t first = 0;
  int64_t count = -1;  // at most this many rows from first; -1 for all
  int64_t step = 1;    // every step-th row from first
  // When set: exactly these rows (ascending), and first, count and step are
  // not used.
  std::shared_ptr<const std::vector<int64_t>> rows;
  static RowSelection all() { return {}; }
  bool isAll() const { return !rows && first <= 0 && count < 0 && step <= 1; }
};

enum class Step { Row, End, Failed };

class Cursor {
 public:
  virtual ~Cursor() = default;
  // Moves to the next row. Failed ends the stream with error() saying why
  // (also when `deadline` passed before a row was found).
  virtual Step next(std::chrono::steady_clock::time_point deadline) = 0;
  virtual int columnCount() const = 0;
  // The current row's text of column c, valid until the next step; false for
  // a NULL. Numbers are written with '.' as the decimal separator, dates as
  // "YYYY-MM-DD hh:mm:ss", binary values as a byte count.
  virtual bool cell(int column, std::string_view& text) = 0;
  // The current row as one record, when the engine made it as it read the
  // row: cells separated by tabs in column order, NULL as nothing, tabs,
  // line breaks and NULs inside a value as blanks. False when it did not
  // (the cells then make the record).
  virtual bool record(std::string_view& text) {
    (void)text;
    return false;
  }
  // The current row's index in the object's order.
  virtual int64_t sourceRow() const = 0;
  // The current row's index in the object's order without its filter (the
  // row of the whole table a filtered row is); sourceRow() when unfiltered.
  virtual int64_t baseRow() const { return sourceRow(); }
  // True when the engine applied the selection's step itself.
  virtual bool selectsRows() const { return false; }
  virtual const std::string& error() const = 0;
};

class Database;

// Opens the database file at `path` with the first engine that reads it;
// null with `error` naming the file and why it cannot be read.
std::unique_ptr<Database> openDatabaseFile(const std::string& path, std::string& error);

class Database {
 public:
  virtual ~Database() = default;
  virtual const std::string& path() const = 0;
  // The engine's name for messages ("SQLite", "Access (mdbtools)").
  virtual std::string engineName() const = 0;
  // Tables and queries in the engine's order, system objects left out.
  virtual std::optional<std::vector<ObjectInfo>> objects(std::string& error) = 0;
  virtual std::optional<std::vector<Column>> columns(const ObjectInfo& object, std::string& error) = 0;
  virtual std::optional<int64_t> rowCount(const ObjectInfo& object, std::string& error) = 0;
  virtual std::unique_ptr<Cursor> open(const ObjectInfo& object, const RowSelection& rows, std::string& error) = 0;
  // Whether the engine reads only the selected rows itself (a server, which
  // then sends no others); its cursors answer selectsRows() for them.
  virtual bool selectsRows() const { return false; }
  // Whether the engine takes ObjectInfo::filter.
  virtual bool filtersRows() const { return false; }
  // An engine that counts large tables by an estimate counts exactly when asked.
  virtual void setExactCounts(bool on) { (void)on; }
  // Another connection to the same database (for a second reader, such as
  // the record browser); null with `error` when it cannot be had.
  virtual std::unique_ptr<Database> reopen(std::string& error) {
    return openDatabaseFile(path(), error);
  }
};


// Opens a file, or a database server when `source` is a server connection
// (server_login.h), signing in with `password` when the server asks for one.
// `needsPassword` is set when the server refused for want of a password.
std::unique_ptr<Database> openDatabase(const std::string& source, const std::string& password, std::string& error,
                                       bool* needsPassword = nullptr);

// Whether an engine of this build reads files of this kind (by their first bytes).
bool looksLikeDatabaseFile(const std::string& path);

}  // namespace vlm::platform::db
