#include "platform/event.h"

namespace vlm::platform {

void ManualResetEvent::set() {
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
  }
  cv_.notify_all();
}

void ManualResetEvent::reset() {
  std::lock_guard lock(mutex_);
  signalled_ = false;
}

bool ManualResetEvent::isSet() const {
  std::lock_guard lock(mutex_);
  return signalled_;
}

bool ManualResetEvent::wait(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  if (timeout.count() < 0) {
    cv_.wait(lock, [this] { return signalled_; });
    return true;
  }
  return cv_.wait_for(lock, timeout, [this] { return signalled_; });
}

}  // namespace vlm::platform
