#include "sources/access/access_connection.h"

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/worker_thread.h"
#include "platform/database/server_login.h"
#include "platform/report.h"
#include "platform/workspace/record_browser.h"
#include "platform/workspace/workspace.h"
#include "sources/access/access_automation.h"
#include "sources/access/access_conversation.h"
#include "sources/access/access_loader.h"
#include "sources/access/access_session.h"
#include "sources/connection_request.h"
#include "sources/load_finish.h"
#include "sources/source_record.h"

namespace vlm {
namespace {

constexpr const char* kNoDatabaseOpenText =
    "No database is open in the Database Workspace.\nThe table loaded before stays as it was.";
constexpr const char* kWorkspaceUnreachableText =
    "The Database Workspace does not answer.\nThe table loaded before stays as it was.";

// A connection that found no database to load. A table loaded before stays,
// with its model, and the user hears why nothing new came; with none, the
// table is marked empty and the model emptied.
void nothingLoaded(EngineState& state, int32_t result) {
  bool kept = false;
  {
    platform::DataLockGuard guard(state.main->dataLock);
    kept = state.data->fieldCount > 0;
    if (!kept) dropAccessSourceLocked(state);
  }
  if (!kept) {
    endNothingLoaded(state);
    return;
  }
  postBusy(state, false);
  platform::reportError(result == kAccessNoDatabase ? kNoDatabaseOpenText : kWorkspaceUnreachableText);
}

int32_t objectNamed(EngineState& state, const std::string& name) {
  platform::DataLockGuard guard(state.main->dataLock);
  const auto& objects = state.data->accessObjects;
  for (size_t i = 0; i < objects.size(); ++i)
    if (objects[i].name == name) return static_cast<int32_t>(i);
  return -1;
}

bool onAccessStart(EngineState& state, const platform::Command&) {
  startAccess(state);
  return true;
}

bool onAccessOpen(EngineState& state, const platform::Command& c) {
  openAccessDatabase(state, c.text);
  return true;
}

bool onAccessQuit(EngineState& state, const platform::Command&) {
  quitAccess(state);
  return true;
}

bool onJumpAccess(EngineState& state, const platform::Command& c) {
  jumpToAccessRecord(state, static_cast<int32_t>(static_cast<intptr_t>(c.wParam)));
  return true;
}

bool onSwitchAccess(EngineState& state, const platform::Command&) {
  switchToAccess(state);
  return true;
}

// The data thread ends: a workspace the engine found neither running nor
// visible at start is quit with it, as is one the engine started.
bool onQuitDataThread(EngineState& state, const platform::Command&) {
  AccessSession& s = accessSession(state);
  closeAccess(state);
  if (state.data->sourceKind == DSK_ACCESS && !s.foundRunning && !s.foundVisible) quitAccess(state);
  return true;
}

}  // namespace

void connectAndLoadAccess(EngineState& state, AccessConnection&& connection, bool retried,
                          const std::string& wantedObject) {
  MainRecord& m = *state.main;
  const int32_t result = connection.result;
  m.loadControl.connectionResult = result;
  m.dataDone.set();
  if (result == kAccessUnreachable) {
    // A workspace that ignores conversations is told to stop, once.
    if (!retried && accessMainWindowExists() &&
        setAccessOption(state, platform::workspace::kIgnoreRequests, 0)) {
      postData(state, CMD_INIT_CONNECTION, 2, 1, wantedObject);
      return;
    }
    nothingLoaded(state, result);
    return;
  }
  if (result != kAccessConnected) {
    nothingLoaded(state, result);
    return;
  }
  takeAccessSource(state, std::move(connection));
  int32_t object = wantedObject.empty() ? -1 : objectNamed(state, wantedObject);
  if (object < 0) object = 0;
  const int32_t load = startObjectLoad(state, object);
  if (load == kLoadCancelled) {
    m.loadControl.connectionResult = -11;
    postBusy(state, false);
    return;
  }
  postEngine(state, CMD_UPDATE_MODEL, 1);
  postRefresh(state);
  if (load != kStreamOpened) postBusy(state, false);
  postHits(state);
}

void loadAccessObject(EngineState& state, int32_t object, uintptr_t lParam) {
  if (!isFullLoad(lParam)) {
    continueObjectLoad(state, object, chunkGeneration(lParam));
    return;
  }
  MainRecord& m = *state.main;
  postBusy(state, true);
  if (state.data->sourceKind == DSK_ACCESS) {
    // Another database open in the workspace: connect to it instead, and
    // load the object of the same name when it has one.
    if (accessDatabasePath() != state.data->sourcePath) {
      std::string name;
      {
        platform::DataLockGuard guard(m.dataLock);
        const auto& objects = state.data->accessObjects;
        if (object >= 0 && static_cast<size_t>(object) < objects.size()) name = objects[static_cast<size_t>(object)].name;
      }
      runConnectionRequest(state, 2, name);
      return;
    }
    const int32_t result = startObjectLoad(state, object);
    if (result == kStreamOpened) {
      postRefresh(state);
      postBusy(state, true);
      postHits(state);
      return;
    }
    if (result == kLoadCancelled) m.loadControl.connectionResult = -11;
    // The table loaded before is still there: the host only hears that the
    // load is over.
    postRefresh(state);
    postBusy(state, false);
    postHits(state);
    return;
  }
  if (m.applicationKind == 2) {
    runConnectionRequest(state, 2);
    return;
  }
  postBusy(state, false);
}

bool openDatabaseFile(EngineState& state, const std::string& path) {
  if (!openAccessDatabase(state, path)) return false;
  // A server's connection is remembered without its password.
  postHost(state, HM_RECENT_FILE, 0, 0, platform::db::splitPassword(path).connection);
  runConnectionRequest(state, 2);
  return true;
}

void registerAccessHandlers() {
  HandlerTable& t = dataHandlers();
  t.set(CMD_ACCESS_START, &onAccessStart);
  t.set(CMD_ACCESS_OPEN, &onAccessOpen);
  t.set(CMD_ACCESS_QUIT, &onAccessQuit);
  t.set(CMD_JUMP_ACCESS, &onJumpAccess);
  t.set(CMD_SWITCH_ACCESS, &onSwitchAccess);
  t.set(CMD_QUIT_DATA_THREAD, &onQuitDataThread);
  platform::workspace::installRecordBrowser();
}

}  // namespace vlm
