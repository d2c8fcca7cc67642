#pragma once
// Data sources reached through an ODBC driver manager (unixODBC): tables and
// system tables' views as the driver lists them; rows read column by column
// as text. The driver does not select rows itself, so a row selection is
// applied while reading.
#include <memory>
#include <string>

#include "platform/database/database.h"
#include "platform/database/server_login.h"

namespace vlm::platform::db {

bool odbcEngineAvailable();

// Connects with the connection string (without "odbc:"); null with `error`
// saying why. `needsPassword` is set when the driver refused a sign-in
// without a password.
std::unique_ptr<Database> openOdbcDatabase(const ServerLogin& login, std::string& error, bool& needsPassword);

}  // namespace vlm::platform::db
