#include "engine/model_file/model_file_save.h"

#include <dlfcn.h>

#include <filesystem>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/model_file/model_file_paths.h"
#include "engine/model_file/model_file_write.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "model/association_ops.h"
#include "platform/atomic_file.h"
#include "platform/file_dialog.h"

namespace vlm {
namespace {

// The Setup window closes while the model changes, where this engine has one.
void closeSetup() {
  if (auto close = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "vlm_CloseSetup"))) close();
}

}  // namespace

int32_t writeModelFile(EngineState& state, const std::string& path) {
  std::string bytes, error;
  platform::ProfileDocument doc;
  if (platform::readWholeFile(path, bytes, error)) {
    doc = platform::ProfileDocument::parse(bytes);
  } else if (std::filesystem::exists(path)) {
    // A file that cannot be read is not replaced by one that lost its keys.
    vlm_Error(("Unable to save the model into " + path + ".\n\n" + error).c_str());
    return 0;
  }
  {
    platform::DataLockGuard lock(state.main->dataLock);
    writeModelLocked(state, doc);
  }
  if (!platform::writeFileAtomically(path, doc.serialise(), error)) {
    vlm_Error(("Unable to save the model into " + path + ".\n\n" + error + "\n\nThe model is not saved.").c_str());
    return 0;
  }
  state.model->saved = 1;
  postHost(state, HM_RECENT_FILE, 0, 0, path);
  return 1;
}

int32_t saveModel(EngineState& state) {
  std::string path;
  {
    std::lock_guard lock(state.model->nameMutex);
    path = state.model->modelPath;
  }
  if (path.empty()) return saveModelAs(state);
  return writeModelFile(state, path);
}

int32_t saveModelAs(EngineState& state) {
  platform::FileDialogRequest request;
  request.save = true;
  request.caption = "Save Model As";
  request.filters = {{"Velmora Model Files", "*.vlm"}};
  {
    std::lock_guard lock(state.model->nameMutex);
    request.directory = state.main->modelFolder;
  }
  request.confirmOverwrite = true;
  const platform::FileDialogResult result = platform::showFileDialog(request);
  if (!result.accepted || result.path.empty()) return 0;
  std::string path = result.path;
  if (!containsUpper(path, ".VLM")) path += ".vlm";
  {
    std::lock_guard lock(state.model->nameMutex);
    state.model->modelPath = path;
    state.model->modelName = fileNamePart(path);
    const std::string dir = directoryPart(path);
    if (!dir.empty()) state.main->modelFolder = state.main->dataFolder = dir;
  }
  postRefresh(state);
  return writeModelFile(state, path);
}

int32_t resetModel(EngineState& state) {
  closeSetup();
  {
    platform::DataLockGuard lock(state.main->dataLock);
    {
      std::lock_guard names(state.model->nameMutex);
      state.model->modelName.clear();
      state.model->modelPath.clear();
      state.model->sourceName.clear();
    }
    ModelContext ctx = modelContext(state);
    deleteAllAssociationsLocked(ctx);
  }
  postRefresh(state);
  return postEngine(state, CMD_UPDATE_MODEL, 1) ? 1 : 0;
}

}  // namespace vlm
