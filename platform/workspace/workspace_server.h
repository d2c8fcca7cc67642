#pragma once
// The conversations the database workspace answers on its service:
//   "System": "Status" ("Ready"), "Topics" ("System" and the open database's
//     path, tab-separated), "SysItems"; executes "[OpenTable \"t\",0,2]",
//     "[OpenQuery \"q\",0,2]", "[GoToRecord 0,\"t\",4,n]" (1 for a query).
//   "<db>" (the open file's name without folder and ".mdb"): "TableList",
//     "QueryList" (tab-separated names).
//   "<db>;TABLE t", "<db>;QUERY q" (blanks after ';' allowed): "FieldNames"
//     and "FieldNames;T" (names, and with ;T a second line of Access type
//     codes, each line ended by CR LF), "NextRow" (the next record).
//   "<db>; SQL SELECT Count(*) FROM [t];": "NextRow" (the row count).
#include <memory>
#include <string>
#include <string_view>

#include "platform/dde/conversation.h"

namespace vlm::platform::workspace {

class Workspace;

enum class TopicKind { None, System, Database, Table, Query, Sql };

struct TopicName {
  TopicKind kind = TopicKind::None;
  std::string name;  // the object's name, or the SQL text
};

// The data source name of a database path: the part after the last folder
// separator, without a final ".mdb" (any case).
std::string dataSourceName(std::string_view path);

// Reads a topic against the open database's data source name (compared
// without regard to case).
TopicName parseTopic(std::string_view topic, std::string_view sourceName);

// The object of "SELECT Count(*) FROM [name];" (keywords in any case, the
// name up to the last ']'); empty when the SQL is not of that form.
std::string countedObject(std::string_view sql);

// A command "[Verb \"name\",a,b]" or "[GoToRecord a,\"name\",b,n]".
struct ExecuteCommand {
  std::string verb;
  std::string name;
  int64_t record = 0;  // GoToRecord's last argument
  int32_t objectType = 0;  // GoToRecord's first argument: 0 table, 1 query
};
bool parseExecute(std::string_view command, ExecuteCommand& out);

std::shared_ptr<dde::Server> makeWorkspaceServer(Workspace& workspace);

}  // namespace vlm::platform::workspace
