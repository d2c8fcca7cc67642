#include "tools/model_edit.h"

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/worker_thread.h"
#include "tools/tools_state.h"

namespace vlm {

bool tryWithLock(EngineState& state, const ModelEdit& work) {
  platform::DataLock& lock = state.main->dataLock;
  if (!lock.tryAcquire()) return false;
  work(state);
  lock.release();
  return true;
}

bool editModel(EngineState& state, ModelEdit edit) {
  ToolsState& tools = toolsOf(state);
  bool waiting = false;
  {
    std::lock_guard guard(tools.editMutex);
    waiting = !tools.edits.empty();
  }
  // Edits keep their order: once one waits, the later ones wait behind it.
  if (!waiting && tryWithLock(state, edit)) return true;
  {
    std::lock_guard guard(tools.editMutex);
    tools.edits.push_back(std::move(edit));
  }
  if (postEngine(state, CMD_RUN_TOOL_EDITS)) return false;
  // No engine thread: nobody else would run it.
  runQueuedEdits(state);
  return true;
}

void queueEdit(EngineState& state, ModelEdit edit) {
  ToolsState& tools = toolsOf(state);
  {
    std::lock_guard guard(tools.editMutex);
    tools.edits.push_back(std::move(edit));
  }
  if (!postEngine(state, CMD_RUN_TOOL_EDITS)) runQueuedEdits(state);
}

void runQueuedEdits(EngineState& state) {
  ToolsState& tools = toolsOf(state);
  std::deque<ModelEdit> edits;
  {
    std::lock_guard guard(tools.editMutex);
    edits.swap(tools.edits);
  }
  if (edits.empty()) return;
  platform::DataLockGuard lock(state.main->dataLock);
  for (ModelEdit& edit : edits) edit(state);
}

}  // namespace vlm
