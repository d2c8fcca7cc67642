#include "platform/database/database.h"

#include <filesystem>
#include <fstream>

#include "platform/database/mdb_database.h"
#include "platform/database/sqlite_database.h"

namespace vlm::platform::db {

bool looksLikeDatabaseFile(const std::string& path) {
  return isSqliteFile(path) || (mdbEngineAvailable() && isAccessFile(path));
}

std::unique_ptr<Database> openDatabaseFile(const std::string& path, std::string& error) {
  const std::string name = std::filesystem::path(path).filename().string();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = "The database file \"" + path + "\" cannot be found.";
    return nullptr;
  }
  if (!std::ifstream(path, std::ios::binary)) {
    error = "The database file \"" + path + "\" cannot be read.";
    return nullptr;
  }
  std::string why;
  std::unique_ptr<Database> db;
  if (isSqliteFile(path)) {
    db = openSqliteDatabase(path, why);
  } else if (isAccessFile(path)) {
    if (!mdbEngineAvailable()) {
      error = "\"" + name + "\" is an Access database, and this build reads no Access files (it was built without mdbtools).";
      return nullptr;
    }
    db = openMdbDatabase(path, why);
  } else {
    error = "\"" + name + "\" is not a database file that can be opened (SQLite or Access).";
    return nullptr;
  }
  if (!db) error = "The database \"" + name + "\" cannot be opened: " + why + ".";
  return db;
}

}  // namespace vlm::platform::db
