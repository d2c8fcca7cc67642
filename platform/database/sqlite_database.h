#pragma once
// SQLite files: tables are tables, views are queries.
#include <memory>
#include <string>

#include "platform/database/database.h"

namespace vlm::platform::db {

// Opens a SQLite file read-only; null with `error` when it is no SQLite database.
std::unique_ptr<Database> openSqliteDatabase(const std::string& path, std::string& error);

// True when the file begins with SQLite's header text.
bool isSqliteFile(const std::string& path);

// The SQL form of a name: in double quotes, a quote inside it doubled.
std::string quoteSqliteName(std::string_view name);

// What a declared column type says the column holds (SQLite's affinity rules,
// with dates and booleans told apart); Unknown when there is no declared type
// or it names nothing known.
ColumnKind sqliteColumnKind(std::string_view declaredType);

}  // namespace vlm::platform::db
