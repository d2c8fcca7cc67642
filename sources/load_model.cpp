#include "sources/load_model.h"

#include <mutex>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/worker_thread.h"
#include "model/association_ops.h"
#include "model/field_match.h"

namespace vlm {
namespace {

struct Pending {
  std::mutex mutex;
  ModelApplier applier;
  std::string path;  // one engine per process
};

Pending& pending() {
  static Pending p;
  return p;
}

}  // namespace

void setModelApplier(ModelApplier applier) {
  std::lock_guard lock(pending().mutex);
  pending().applier = std::move(applier);
}

void setPendingModel(EngineState&, const std::string& path) {
  std::lock_guard lock(pending().mutex);
  pending().path = path;
}

std::string pendingModel(EngineState&) {
  std::lock_guard lock(pending().mutex);
  return pending().path;
}

void settleModelAfterLoad(EngineState& state) {
  ModelApplier applier;
  std::string path;
  {
    std::lock_guard lock(pending().mutex);
    if (pending().applier && !pending().path.empty()) {
      applier = pending().applier;
      path = std::move(pending().path);
      pending().path.clear();
    }
  }
  if (applier) {
    applier(state, path);
    return;
  }
  bool keep = false;
  {
    platform::DataLockGuard guard(state.main->dataLock);
    keep = fieldNamesEqual(state.model->associations, *state.data);
    if (!keep) {
      ModelContext ctx = modelContext(state);
      deleteAllAssociationsLocked(ctx);
    }
  }
  if (keep)
    postEngine(state, CMD_UPDATE_MODEL, 0);
  else
    postEngine(state, CMD_CREATE_DEFAULT_MODEL, static_cast<uintptr_t>(state.model->defaultModelKind));
}

}  // namespace vlm
