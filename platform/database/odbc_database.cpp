#include "platform/database/odbc_database.h"

namespace vlm::platform::db {

bool odbcEngineAvailable() { return false; }

std::unique_ptr<Database> openOdbcDatabase(const ServerLogin&, std::string& error, bool& needsPassword) {
  needsPassword = false;
  error = "this build has no ODBC driver manager (unixODBC)";
  return nullptr;
}

}  // namespace vlm::platform::db
