#pragma once
// The connection handler's database branch: connecting to the workspace's
// open database and loading one of its objects (the commands of mode 2 and
// CMD_LOAD), and opening a database file.
#include <cstdint>
#include <string>

#include "sources/access/access_conversation.h"

namespace vlm {

struct EngineState;

// Mode 2 of the connection request, once the workspace was asked
// (`connection`) and, when it connected, the table was cleared: takes the
// database as the source and loads one object: `wantedObject` when the
// database holds an object of that name, else the first. A connection that
// failed keeps a table loaded before and says why. `retried` is set on the one
// retry made after the workspace was told to stop ignoring conversations.
void connectAndLoadAccess(EngineState& state, AccessConnection&& connection, bool retried,
                          const std::string& wantedObject);

// CMD_LOAD: object `object` with the full flag (the first step), or a
// following step of the load whose generation lParam carries.
void loadAccessObject(EngineState& state, int32_t object, uintptr_t lParam);

// Opens a database file in the workspace and, when it opened, connects to it
// and loads its first object. False when the file could not be opened.
bool openDatabaseFile(EngineState& state, const std::string& path);

// Installs the handlers of the workspace commands (start, open, quit, jump,
// switch) and the data thread's end.
void registerAccessHandlers();

}  // namespace vlm
