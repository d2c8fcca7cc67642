#pragma once
// PostgreSQL servers (and engines that speak their protocol) through libpq:
// tables and partitioned tables are tables, views and materialized views are
// queries; rows stream through COPY in text format. An object's rows are
// numbered in the order a plain scan yields them (with synchronized and
// parallel scans off, so every reading sees the same order), and a row
// selection or a filter is applied on the server, so only the rows wanted
// cross the network.
#include <memory>
#include <string>
#include <string_view>

#include "platform/database/database.h"
#include "platform/database/server_login.h"

namespace vlm::platform::db {

bool postgresEngineAvailable();

// Signs in; null with `error` saying why. `needsPassword` is set when the
// server asked for a password that was not given.
std::unique_ptr<Database> openPostgresDatabase(const ServerLogin& login, std::string& error, bool& needsPassword);

// Tables with at least this many rows by the catalogue's estimate are counted
// by the estimate, unless exact counts were asked for.
constexpr int64_t kEstimatedCountFrom = 1000000;

// One field of a COPY text row: false for NULL ("\N"); otherwise its text
// with the escapes decoded (\b \f \n \r \t \v \\, octal \ooo, hex \xhh, any
// other escaped character as itself).
bool decodeCopyField(std::string_view raw, std::string& out);

}  // namespace vlm::platform::db
