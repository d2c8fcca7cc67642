#include "sources/access/access_automation.h"

#include "engine/engine_state.h"
#include "platform/dde/conversation.h"
#include "platform/report.h"
#include "platform/workspace/workspace.h"
#include "sources/access/access_session.h"

namespace vlm {
namespace {

using platform::workspace::Workspace;

std::string quoted(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  return out + "\"";
}

// One execute on the topic "System", in a conversation of its own.
bool executeOnSystem(const std::string& command) {
  auto c = platform::dde::Conversation::connect(kAccessService, "System");
  return c && c.execute(command);
}

}  // namespace

std::string automationFailureText() {
  return "ACCESS CONNECTION NOT INITIALIZED!  \n\nAccess Application is not available.\n"
         "Please consult the documentation, or \nask the support of your Velmora supplier.\n";
}

int isAccessRunning(EngineState& state) {
  AccessSession& s = accessSession(state);
  Workspace& w = Workspace::instance();
  if (!w.running()) return 0;
  const bool visible = w.visible();
  s.foundRunning = true;
  s.foundVisible = visible;
  if (!visible) {
    w.quit();
    return 0;
  }
  return 1;
}

bool startAccess(EngineState& state) {
  Workspace& w = Workspace::instance();
  if (w.start()) accessSession(state).startedByEngine = true;
  if (!w.running()) {
    platform::reportError(automationFailureText().c_str());
    return false;
  }
  w.setVisible(true);
  w.setUserControl(true);
  return true;
}

bool openAccessDatabase(EngineState& state, const std::string& path) {
  if (!startAccess(state)) return false;
  // The database in use is replaced only by one that opens: closing it first
  // left a file that cannot be read with no database at all, and the table
  // loaded from the old one could neither jump to its records nor reload.
  return Workspace::instance().openCurrentDatabase(path);
}

void quitAccess(EngineState&) { Workspace::instance().quit(); }

bool setAccessOption(EngineState& state, const std::string& name, int32_t value) {
  if (!startAccess(state)) return false;
  Workspace::instance().setOption(name, value);
  return true;
}

bool accessMainWindowExists() { return Workspace::instance().hasMainWindow(); }

void switchToAccess(EngineState& state) {
  Workspace& w = Workspace::instance();
  if (accessMainWindowExists() && w.bringToFront()) return;
  if (startAccess(state)) w.bringToFront();
}

std::string openObjectCommand(const std::string& name, bool query) {
  return std::string(query ? "[OpenQuery " : "[OpenTable ") + quoted(name) + ",0,2]";
}

std::string goToRecordCommand(const std::string& name, bool query, int64_t record) {
  return std::string("[GoToRecord ") + (query ? "1," : "0,") + quoted(name) + ",4," + std::to_string(record) + "]";
}

bool jumpToAccessRecord(EngineState& state, int32_t sample) {
  std::string name;
  bool query = false;
  int64_t row = -1;
  {
    platform::DataLockGuard guard(state.main->dataLock);
    const DataTable& t = *state.data;
    const int32_t object = t.currentAccessObject;
    if (object >= 0 && static_cast<size_t>(object) < t.accessObjects.size()) {
      name = t.accessObjects[static_cast<size_t>(object)].name;
      query = t.accessObjects[static_cast<size_t>(object)].kind == kAccessQuery;
    }
    if (sample >= 0 && sample < t.rowCount && static_cast<size_t>(sample) < t.rowIds.size())
      row = t.rowIds[static_cast<size_t>(sample)];
  }
  if (name.empty() || row < 0 || !executeOnSystem(openObjectCommand(name, query))) {
    platform::reportError(("Can't jump on row " + std::to_string(sample) + " in Access.").c_str());
    return false;
  }
  if (!executeOnSystem(goToRecordCommand(name, query, row + 1))) return false;
  switchToAccess(state);
  return true;
}

}  // namespace vlm
