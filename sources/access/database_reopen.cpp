#include "sources/access/database_reopen.h"

#include <filesystem>

#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "platform/database/server_login.h"
#include "sources/access/access_automation.h"
#include "sources/access/access_conversation.h"
#include "sources/access/access_loader.h"
#include "sources/load_finish.h"
#include "sources/load_model.h"

namespace vlm {

ReopenResult reopenModelSource(EngineState& state, const ReopenRequest& request) {
  setPendingModel(state, request.modelPath);
  const std::string* found = nullptr;
  for (const std::string& path : request.candidates) {
    std::error_code ec;
    // A database server is reached by its connection; the workspace asks
    // for the password the model file never holds.
    if (platform::db::isServerConnection(path) || (!path.empty() && std::filesystem::is_regular_file(path, ec))) {
      found = &path;
      break;
    }
  }
  // A missing file is said once, naming the last place tried.
  const std::string& path = found ? *found : (request.candidates.empty() ? std::string() : request.candidates.back());
  if (path.empty() || !openAccessDatabase(state, path)) return ReopenResult::NoDatabase;

  closeAccess(state);
  ++state.main->loadGeneration;
  state.main->abortFlag = 0;
  clearData(state);
  AccessConnection connection = connectAccess(state);
  if (connection.result != kAccessConnected) {
    {
      platform::DataLockGuard guard(state.main->dataLock);
      dropAccessSourceLocked(state);
    }
    endNothingLoaded(state);
    return ReopenResult::NoDatabase;
  }
  takeAccessSource(state, std::move(connection));
  int32_t object = -1;
  {
    platform::DataLockGuard guard(state.main->dataLock);
    const auto& objects = state.data->accessObjects;
    for (size_t i = 0; i < objects.size() && object < 0; ++i)
      if (objects[i].name == request.object) object = static_cast<int32_t>(i);
  }
  if (object < 0) {
    postRefresh(state);
    postHits(state);
    return ReopenResult::NoObject;
  }
  postBusy(state, true);
  const int32_t result = startObjectLoad(state, object);
  postRefresh(state);
  if (result != kStreamOpened) postBusy(state, false);
  postHits(state);
  return result == kStreamOpened ? ReopenResult::Loading : ReopenResult::NotLoaded;
}

}  // namespace vlm
