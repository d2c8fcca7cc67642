#pragma once
// Builds small SQLite files for the database tests.
#include <sqlite3.h>

#include <filesystem>
#include <string>

namespace vlm::test {

// Runs `sql` (several statements) on a new or existing file; returns the
// error text, empty on success.
inline std::string runSql(const std::filesystem::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string error;
  if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) {
    error = db ? sqlite3_errmsg(db) : "cannot open";
  } else {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) error = message ? message : "failed";
    sqlite3_free(message);
  }
  sqlite3_close(db);
  return error;
}

// A table `name` of `rows` rows: id (0..rows-1), label ("r" + id), value (id / 4.0).
inline std::string numberedTableSql(const std::string& name, int rows) {
  return "CREATE TABLE \"" + name +
         "\"(id INTEGER, label TEXT, value REAL);"
         "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < " +
         std::to_string(rows) + ") INSERT INTO \"" + name + "\" SELECT i, 'r' || i, i / 4.0 FROM n;";
}

}  // namespace vlm::test
