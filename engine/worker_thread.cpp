#include "engine/worker_thread.h"

#include <condition_variable>
#include <mutex>

#include "engine/engine_state.h"
#include "platform/host_bridge.h"

namespace vlm {

WorkerThread::WorkerThread(std::string name, Dispatch dispatch, Hook onStart, Hook onEnd)
    : name_(std::move(name)), dispatch_(std::move(dispatch)), onStart_(std::move(onStart)),
      onEnd_(std::move(onEnd)) {}

WorkerThread::~WorkerThread() {
  if (thread_.joinable()) {
    if (thread_.get_id() == std::this_thread::get_id())
      thread_.detach();
    else
      thread_.join();
  }
}

bool WorkerThread::start(std::shared_ptr<EngineState> state) {
  try {
    // The thread also keeps itself alive: a thread left running after a
    // time-out must not lose its queue.
    auto self = shared_from_this();
    thread_ = std::thread([self, state]() mutable { self->run(std::move(state)); });
  } catch (...) {
    return false;
  }
  return true;
}

void WorkerThread::post(int32_t number, uintptr_t wParam, uintptr_t lParam, std::string text) {
  platform::Command c;
  c.number = number;
  c.wParam = wParam;
  c.lParam = lParam;
  c.text = std::move(text);
  queue_.post(std::move(c));
}

void WorkerThread::run(std::shared_ptr<EngineState> state) {
  id_.store(std::this_thread::get_id());
  if (onStart_) onStart_(*state);
  while (auto command = queue_.next()) {
    if (!dispatch_(*state, *this, *command)) break;
  }
  finished_.store(true);
  if (onEnd_) onEnd_(*state);
}

bool WorkerThread::join(std::chrono::milliseconds timeout) {
  if (!thread_.joinable()) return true;
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!finished_.load()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      thread_.detach();
      return false;
    }
    // A host thread that waits here still serves the worker's requests.
    platform::HostBridge::instance().pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  thread_.join();
  return true;
}

bool postEngine(EngineState& state, int32_t number, uintptr_t wParam, uintptr_t lParam, std::string text) {
  if (!state.main) return false;
  auto thread = std::atomic_load(&state.main->engineThread);
  if (!thread) return false;
  thread->post(number, wParam, lParam, std::move(text));
  return true;
}

bool postEngineAfter(EngineState& state, std::chrono::milliseconds delay, int32_t number, uintptr_t wParam,
                     uintptr_t lParam) {
  if (!state.main) return false;
  auto thread = std::atomic_load(&state.main->engineThread);
  if (!thread) return false;
  platform::Command c;
  c.number = number;
  c.wParam = wParam;
  c.lParam = lParam;
  thread->queue().postAfter(std::move(c), delay);
  return true;
}

bool postData(EngineState& state, int32_t number, uintptr_t wParam, uintptr_t lParam, std::string text) {
  if (!state.main) return false;
  auto thread = std::atomic_load(&state.main->dataThread);
  if (!thread) return false;
  thread->post(number, wParam, lParam, std::move(text));
  return true;
}

}  // namespace vlm
