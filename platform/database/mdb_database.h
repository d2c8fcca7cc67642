#pragma once
// Access files (.mdb, .accdb) read through mdbtools, where the build has it.
// Its tables are listed and read; its saved queries are not: mdbtools cannot
// run them.
#include <memory>
#include <string>

#include "platform/database/database.h"

namespace vlm::platform::db {

bool mdbEngineAvailable();
// True when the file begins as a Jet or ACE database does.
bool isAccessFile(const std::string& path);
std::unique_ptr<Database> openMdbDatabase(const std::string& path, std::string& error);

}  // namespace vlm::platform::db
