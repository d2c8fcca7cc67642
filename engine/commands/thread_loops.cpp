#include "engine/commands/thread_loops.h"

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/worker_thread.h"

namespace vlm {
namespace {

void clearEngineThread(EngineState& state) {
  std::atomic_store(&state.main->engineThread, std::shared_ptr<WorkerThread>());
}

bool dispatchEngine(EngineState& state, WorkerThread& thread, platform::Command& command) {
  auto& queue = thread.queue();
  switch (command.number) {
    case CMD_DRAW_SCENE:
    case CMD_MOUSE_MOVE:
      queue.coalesce(command, platform::Coalesce::LastArguments, &isInputCommand);
      break;
    case CMD_UPDATE_MODEL:
      // A merged request still resets the position when any copy asked for it.
      queue.coalesce(command, platform::Coalesce::OrFlags, &isInputCommand);
      break;
    default:
      break;
  }
  CommandHandler handler = engineHandlers().find(command.number);
  switch (command.number) {
    case CMD_OPEN_WINDOW: {
      const bool ok = handler && handler(state, command);
      state.main->windowOpenResult.store(ok ? 1 : 0);
      if (!ok) {
        clearEngineThread(state);
        state.main->engineDone.set();
        return false;
      }
      state.main->engineDone.set();
      return true;
    }
    case CMD_CLOSE_WINDOW:
      if (handler) handler(state, command);
      clearEngineThread(state);
      state.main->engineDone.set();
      return false;
    case CMD_SET_STEREO:
      if (handler && !handler(state, command)) {
        // Without a context there is nothing left for this thread to do.
        clearEngineThread(state);
        return false;
      }
      return true;
    default:
      if (handler) handler(state, command);
      return true;
  }
}

bool dispatchData(EngineState& state, WorkerThread&, platform::Command& command) {
  CommandHandler handler = dataHandlers().find(command.number);
  if (command.number == CMD_QUIT_DATA_THREAD) {
    if (handler) handler(state, command);
    std::atomic_store(&state.main->dataThread, std::shared_ptr<WorkerThread>());
    state.main->dataDone.set();
    return false;
  }
  if (handler) handler(state, command);
  return true;
}

}  // namespace

std::shared_ptr<WorkerThread> makeEngineThread() {
  return std::make_shared<WorkerThread>(
      "engine", &dispatchEngine, [](EngineState& s) { s.main->engineDone.set(); },
      [](EngineState& s) { s.main->engineDone.set(); });
}

std::shared_ptr<WorkerThread> makeDataThread() {
  return std::make_shared<WorkerThread>(
      "data", &dispatchData, [](EngineState& s) { s.main->dataDone.set(); },
      [](EngineState& s) { s.main->dataDone.set(); });
}

}  // namespace vlm
