#include "platform/data_lock.h"

namespace vlm::platform {
namespace {
constexpr auto kPumpSlice = std::chrono::milliseconds(10);
}

bool DataLock::acquire(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::function<void()> pump;
    {
      std::unique_lock lock(mutex_);
      if (free_) {
        free_ = false;
        owner_ = std::this_thread::get_id();
        return true;
      }
      auto slice = kPumpSlice;
      if (timeout.count() >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        if (left < slice) slice = left;
      }
      cv_.wait_for(lock, slice);
      if (free_) {
        free_ = false;
        owner_ = std::this_thread::get_id();
        return true;
      }
      pump = pump_;
    }
    if (pump) pump();
  }
}

bool DataLock::tryAcquire() {
  std::lock_guard lock(mutex_);
  if (!free_) return false;
  free_ = false;
  owner_ = std::this_thread::get_id();
  return true;
}

bool DataLock::force() {
  std::lock_guard lock(mutex_);
  const bool was = free_;
  free_ = false;
  owner_ = std::this_thread::get_id();
  return was;
}

void DataLock::release() {
  {
    std::lock_guard lock(mutex_);
    free_ = true;
    owner_ = std::thread::id{};
  }
  cv_.notify_all();
}

bool DataLock::isFree() const {
  std::lock_guard lock(mutex_);
  return free_;
}

bool DataLock::heldByCurrentThread() const {
  std::lock_guard lock(mutex_);
  return !free_ && owner_ == std::this_thread::get_id();
}

bool DataLock::waitFree(std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::function<void()> pump;
    {
      std::unique_lock lock(mutex_);
      if (free_) return true;
      auto slice = kPumpSlice;
      if (timeout.count() >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        if (left < slice) slice = left;
      }
      cv_.wait_for(lock, slice);
      if (free_) return true;
      pump = pump_;
    }
    if (pump) pump();
  }
}

void DataLock::nudge() { cv_.notify_all(); }

void DataLock::setPump(std::function<void()> pump) {
  std::lock_guard lock(mutex_);
  pump_ = std::move(pump);
}

}  // namespace vlm::platform
