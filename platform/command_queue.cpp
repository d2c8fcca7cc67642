#include "platform/command_queue.h"

#include <algorithm>

namespace vlm::platform {

void CommandQueue::post(Command command) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(command));
  }
  cv_.notify_one();
}

void CommandQueue::postAfter(Command command, std::chrono::milliseconds delay) {
  {
    std::lock_guard lock(mutex_);
    const Clock::time_point due = Clock::now() + delay;
    auto at = std::upper_bound(delayed_.begin(), delayed_.end(), due,
                               [](const Clock::time_point& t, const auto& entry) { return t < entry.first; });
    delayed_.insert(at, {due, std::move(command)});
  }
  cv_.notify_one();
}

std::optional<CommandQueue::Clock::time_point> CommandQueue::releaseDue() {
  const Clock::time_point now = Clock::now();
  size_t due = 0;
  while (due < delayed_.size() && delayed_[due].first <= now) queue_.push_back(std::move(delayed_[due++].second));
  delayed_.erase(delayed_.begin(), delayed_.begin() + static_cast<std::ptrdiff_t>(due));
  if (delayed_.empty()) return std::nullopt;
  return delayed_.front().first;
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
  for (;;) {
    const auto earliest = releaseDue();
    if (!queue_.empty() || quit_) break;
    if (earliest)
      cv_.wait_until(lock, *earliest);
    else
      cv_.wait(lock);
  }
  // A posted quit ends the loop once the commands before it have run.
  if (queue_.empty()) return std::nullopt;
  Command c = std::move(queue_.front());
  queue_.pop_front();
  return c;
}

std::optional<Command> CommandQueue::next(std::chrono::milliseconds timeout, bool* quit) {
  std::unique_lock lock(mutex_);
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    const auto earliest = releaseDue();
    if (!queue_.empty() || quit_ || Clock::now() >= deadline) break;
    cv_.wait_until(lock, earliest ? std::min(*earliest, deadline) : deadline);
  }
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
