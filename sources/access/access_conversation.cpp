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

bool listAccessObjects(EngineState& state, const std::string& sourceName) {
  HostProgress progress(state);
  progress.begin("Analyzing Database", 1, 100);
  Conversation c = Conversation::connect(kAccessService, sourceName);
  std::vector<AccessObject> objects;
  std::string answer;
  bool ok = false;
  if (c) {
    if (c.request("QueryList", answer)) {
      ok = true;
      for (std::string& name : splitList(answer)) objects.push_back({std::move(name), kAccessQuery});
    }
    progress.step(50);
    if (c.request("TableList", answer)) {
      ok = true;
      for (std::string& name : splitList(answer)) objects.push_back({std::move(name), kAccessTable});
    }
    c.disconnect();
  }
  if (objects.size() > static_cast<size_t>(kMaxFields)) objects.resize(static_cast<size_t>(kMaxFields));
  {
    platform::DataLockGuard guard(state.main->dataLock);
    state.data->accessObjects = std::move(objects);
    publishSource(state);
  }
  progress.end();
  return ok;
}

int32_t connectAccess(EngineState& state) {
  closeAccess(state);
  DataTable& table = *state.data;
  auto setSource = [&](int32_t kind, std::string path, std::string name) {
    platform::DataLockGuard guard(state.main->dataLock);
    table.serverQuery.clear();
    table.sourceKind = kind;
    table.sourcePath = std::move(path);
    table.sourceName = std::move(name);
    if (kind != DSK_ACCESS) table.accessObjects.clear();
    publishSource(state);
  };
  setSource(table.sourceKind, {}, {});
  Conversation system = Conversation::connect(kAccessService, "System");
  if (!system) {
    setSource(DSK_NONE, {}, {});
    return -1;
  }
  std::string status;
  if (!system.request("Status", status)) {
    setSource(DSK_NONE, {}, {});
    return -1;
  }
  system.disconnect();
  if (status != "Ready") return -1;
  const std::string path = accessDatabasePath();
  setSource(DSK_ACCESS, path, {});
  if (path == "System") return -2;
  const std::string name = platform::workspace::dataSourceName(path);
  if (name.empty()) {
    setSource(DSK_NONE, {}, {});
    return -1;
  }
  setSource(DSK_ACCESS, path, name);
  listAccessObjects(state, name);
  return 1;
}

void closeAccess(EngineState& state) { closeRecordStream(accessSession(state).stream); }

}  // namespace vlm
