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

constexpr int32_t kAccessConnected = 1;
constexpr int32_t kAccessUnreachable = -1;  // not ready, or not reachable
constexpr int32_t kAccessNoDatabase = -2;

// What connecting to the workspace found: the result, and when connected the
// open database's path, data source name and tables and queries.
struct AccessConnection {
  int32_t result = kAccessUnreachable;
  std::string path;
  std::string name;
  std::vector<AccessObject> objects;
};

// Connects to the workspace's open database (the connection request's mode
// 2) and lists its objects. Ends the loader's conversations first; the table
// is left as it is, so that a failed connection takes nothing away.
AccessConnection connectAccess(EngineState& state);

// Makes a connection the table's source (kind, path, name, objects), under
// the data lock.
void takeAccessSource(EngineState& state, AccessConnection&& connection);

// The source after a failed connection with no table to keep: "No Data",
// DSK_NONE, no objects. The caller holds the data lock.
void dropAccessSourceLocked(EngineState& state);

// The path of the database the workspace has open: the first topic other
// than "System" of its "Topics"; just "System" when none is open; empty when
// the workspace does not answer.
std::string accessDatabasePath();

// The tables and queries of the database `sourceName` (queries first, then
// tables; at most 2048), with progress "Analyzing Database". None when the
// workspace does not answer.
std::vector<AccessObject> listAccessObjects(EngineState& state, const std::string& sourceName);

// Splits a list answer at its tabs (an empty answer holds no name).
std::vector<std::string> splitList(std::string_view answer);

// The topic of an object's fields and record stream: the data source name,
// ";TABLE " or ";QUERY " and the name. `blank` writes "; " (the stream's form).
std::string objectTopic(const std::string& sourceName, const AccessObject& object, bool blank);

// Ends every conversation of the loader (the connection handler's close).
void closeAccess(EngineState& state);

}  // namespace vlm
