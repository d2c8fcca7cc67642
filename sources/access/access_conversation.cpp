#include "sources/access/access_conversation.h"

#include "engine/engine_state.h"
#include "platform/dde/conversation.h"
#include "platform/workspace/workspace_server.h"
#include "sources/access/access_session.h"
#include "sources/progress.h"
#include "sources/source_record.h"

namespace vlm {

using platform::dde::Conversation;

std::vector<std::string> splitList(std::string_view answer) {
  std::vector<std::string> out;
  while (!answer.empty() && (answer.back() == '\r' || answer.back() == '\n' || answer.back() == '\0'))
    answer.remove_suffix(1);
  if (answer.empty()) return out;
  size_t start = 0;
  while (true) {
    const size_t tab = answer.find('\t', start);
    out.emplace_back(answer.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return out;
}

std::string objectTopic(const std::string& sourceName, const AccessObject& object, bool blank) {
  const char* word = object.kind == kAccessQuery ? "QUERY " : "TABLE ";
  return sourceName + (blank ? "; " : ";") + word + object.name;
}

std::string accessDatabasePath() {
  Conversation c = Conversation::connect(kAccessService, "System");
  if (!c) return {};
  std::string topics;
  if (!c.request("Topics", topics)) return {};
  c.disconnect();
  for (const std::string& topic : splitList(topics))
    if (topic != "System" && !topic.empty()) return topic;
  return topics;
}

std::vector<AccessObject> listAccessObjects(EngineState& state, const std::string& sourceName) {
  HostProgress progress(state);
  progress.begin("Analyzing Database", 1, 100);
  Conversation c = Conversation::connect(kAccessService, sourceName);
  std::vector<AccessObject> objects;
  std::string answer;
  if (c) {
    if (c.request("QueryList", answer)) {
      for (std::string& name : splitList(answer)) objects.push_back({std::move(name), kAccessQuery});
    }
    progress.step(50);
    if (c.request("TableList", answer)) {
      for (std::string& name : splitList(answer)) objects.push_back({std::move(name), kAccessTable});
    }
    c.disconnect();
  }
  if (objects.size() > static_cast<size_t>(kMaxFields)) objects.resize(static_cast<size_t>(kMaxFields));
  progress.end();
  return objects;
}

AccessConnection connectAccess(EngineState& state) {
  closeAccess(state);
  AccessConnection out;
  Conversation system = Conversation::connect(kAccessService, "System");
  if (!system) return out;
  std::string status;
  if (!system.request("Status", status)) return out;
  system.disconnect();
  if (status != "Ready") return out;
  out.path = accessDatabasePath();
  if (out.path == "System") {
    out.result = kAccessNoDatabase;
    return out;
  }
  out.name = platform::workspace::dataSourceName(out.path);
  if (out.name.empty()) return out;
  // A database that does not list its objects still connects, with none.
  out.objects = listAccessObjects(state, out.name);
  out.result = kAccessConnected;
  return out;
}

void takeAccessSource(EngineState& state, AccessConnection&& connection) {
  platform::DataLockGuard guard(state.main->dataLock);
  DataTable& table = *state.data;
  table.serverQuery.clear();
  table.sourceKind = DSK_ACCESS;
  table.sourcePath = std::move(connection.path);
  table.sourceName = std::move(connection.name);
  table.accessObjects = std::move(connection.objects);
  publishSource(state);
}

void dropAccessSourceLocked(EngineState& state) {
  markNoData(*state.data);
  state.data->accessObjects.clear();
  publishSource(state);
}

void closeAccess(EngineState& state) { closeRecordStream(accessSession(state).stream); }

}  // namespace vlm
