#pragma once
// The loader's conversations with the database workspace: whether it is
// ready, which database it has open, and that database's tables and queries.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_table.h"

namespace vlm {

struct EngineState;

// Connects to the open database (the connection request's mode 2): 1
// connected and listed, -1 the workspace is not ready or not reachable, -2 no
// database is open. Sets the table's source kind, path and name, and lists
// the objects into it.
int32_t connectAccess(EngineState& state);

// The path of the database the workspace has open: the first topic other
// than "System" of its "Topics"; just "System" when none is open; empty when
// the workspace does not answer.
std::string accessDatabasePath();

// The tables and queries of the database `sourceName` (queries first, then
// tables; at most 2048), with progress "Analyzing Database". False when the
// workspace does not answer.
bool listAccessObjects(EngineState& state, const std::string& sourceName);

// Splits a list answer at its tabs (an empty answer holds no name).
std::vector<std::string> splitList(std::string_view answer);

// The topic of an object's fields and record stream: the data source name,
// ";TABLE " or ";QUERY " and the name. `blank` writes "; " (the stream's form).
std::string objectTopic(const std::string& sourceName, const AccessObject& object, bool blank);

// Ends every conversation of the loader (the connection handler's close).
void closeAccess(EngineState& state);

}  // namespace vlm
