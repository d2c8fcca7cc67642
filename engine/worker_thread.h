#pragma once
// A worker thread of the engine: a command queue and a loop that runs each
// command through the thread's dispatch table, one at a time, in arrival order.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/command_queue.h"

namespace vlm {

struct EngineState;

class WorkerThread : public std::enable_shared_from_this<WorkerThread> {
 public:
  // Runs one command; returns false to end the loop.
  using Dispatch = std::function<bool(EngineState&, WorkerThread&, platform::Command&)>;
  using Hook = std::function<void(EngineState&)>;

  WorkerThread(std::string name, Dispatch dispatch, Hook onStart, Hook onEnd);
  ~WorkerThread();

  // Starts the thread; it keeps `state` alive until it ends.
  bool start(std::shared_ptr<EngineState> state);
  void post(platform::Command command) { queue_.post(std::move(command)); }
  void post(int32_t number, uintptr_t wParam = 0, uintptr_t lParam = 0, std::string text = {});
  void postQuit() { queue_.postQuit(); }
  platform::CommandQueue& queue() { return queue_; }
  bool isCurrent() const { return std::this_thread::get_id() == id_.load(); }
  std::thread::id threadId() const { return id_.load(); }
  bool finished() const { return finished_.load(); }
  // Waits for the thread to end. If it does not end in time it is left to run
  // on its own (it still holds the state it uses) and false is returned.
  bool join(std::chrono::milliseconds timeout);
  const std::string& name() const { return name_; }

 private:
  void run(std::shared_ptr<EngineState> state);

  std::string name_;
  Dispatch dispatch_;
  Hook onStart_, onEnd_;
  platform::CommandQueue queue_;
  std::thread thread_;
  std::atomic<std::thread::id> id_{};
  std::atomic<bool> finished_{false};
};

// Posts to the engine thread / data thread of `state`; false when it has none.
bool postEngine(EngineState& state, int32_t number, uintptr_t wParam = 0, uintptr_t lParam = 0,
                std::string text = {});
bool postData(EngineState& state, int32_t number, uintptr_t wParam = 0, uintptr_t lParam = 0,
              std::string text = {});
// Posts to the engine thread once `delay` has passed, without holding the thread meanwhile.
bool postEngineAfter(EngineState& state, std::chrono::milliseconds delay, int32_t number, uintptr_t wParam = 0,
                     uintptr_t lParam = 0);

}  // namespace vlm
