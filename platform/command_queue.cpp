#include "platform/command_queue.h"

namespace vlm::platform {

void CommandQueue::post(Command command) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(command));
  }
  cv_.notify_one();
}

void CommandQueue::postQuit() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  cv_.notify_all();
}

std::optional<Command> CommandQueue::next() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return !queue_.empty() || quit_; });
  // A posted quit ends the loop once the commands before it have run.
  if (queue_.empty()) return std::nullopt;
  Command c = std::move(queue_.front());
  queue_.pop_front();
  return c;
}

std::optional<Command> CommandQueue::next(std::chrono::milliseconds timeout, bool* quit) {
  std::unique_lock lock(mutex_);
  cv_.wait_for(lock, timeout, [this] { return !queue_.empty() || quit_; });
  if (quit) *quit = quit_ && queue_.empty();
  if (queue_.empty()) return std::nullopt;
  Command c = std::move(queue_.front());
  queue_.pop_front();
  return c;
}

int CommandQueue::coalesce(Command& command, Coalesce how, bool (*isInput)(int32_t)) {
  std::lock_guard lock(mutex_);
  int removed = 0;
  for (auto it = queue_.begin(); it != queue_.end();) {
    if (it->number == command.number) {
      if (how == Coalesce::OrFlags)
        command.wParam |= it->wParam;
      else
        command.wParam = it->wParam;
      command.lParam = it->lParam;
      command.text = std::move(it->text);
      it = queue_.erase(it);
      ++removed;
      continue;
    }
    if (isInput && isInput(it->number)) break;
    ++it;
  }
  return removed;
}

size_t CommandQueue::size() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

bool CommandQueue::quitPosted() const {
  std::lock_guard lock(mutex_);
  return quit_;
}

}  // namespace vlm::platform
