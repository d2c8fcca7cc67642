#pragma once
// A thread's command queue: commands run one at a time in arrival order.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vlm::platform {

constexpr int kCommandBase = 1024;  // commands are numbered 1024 + N

struct Command {
  int32_t number = 0;      // 1024 + N
  uintptr_t wParam = 0;    // pointer-sized: some commands carry addresses
  uintptr_t lParam = 0;
  std::string text;        // a text copied for this post alone
};

enum class Coalesce {
  LastArguments,  // the arguments of the last copy removed are used
  OrFlags,        // wParam flags of every removed copy are OR-ed, lParam of the last
};

class CommandQueue {
 public:
  void post(Command command);
  // Queues `command` once `delay` has passed (behind what arrived by then);
  // a waiting next() wakes for it. Dropped when quit is reached first.
  void postAfter(Command command, std::chrono::milliseconds delay);
  void postQuit();
  // Waits for the next command; nullopt once quit was posted and reached.
  std::optional<Command> next();
  // Waits at most `timeout` for the next command.
  std::optional<Command> next(std::chrono::milliseconds timeout, bool* quit);
  // Removes the queued copies of `command.number` that follow it, stopping at the
  // first queued input command of another number (a move must never jump over a
  // button event). Folds their arguments into `command`; returns how many went.
  int coalesce(Command& command, Coalesce how, bool (*isInput)(int32_t number));
  size_t size() const;
  bool quitPosted() const;

 private:
  using Clock = std::chrono::steady_clock;
  // Moves the delayed commands that are due to the queue; the earliest left, if any.
  std::optional<Clock::time_point> releaseDue();

  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<Command> queue_;
  std::vector<std::pair<Clock::time_point, Command>> delayed_;  // in due order
  bool quit_ = false;
};

}  // namespace vlm::platform
