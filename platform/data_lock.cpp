#include "platform/data_lock.h"

namespace vlm::platform {
namespace {
constexpr auto kPumpSlice = std::chrono::milliseconds(10);
}

bool DataLock::takeLocked() {
  if (free_) {
    free_ = false;
    owner_ = std::this_thread::get_id();
    return true;
  }
  if (borrower_ != std::thread::id{} && borrower_ == std::this_thread::get_id()) {
    ++borrowDepth_;
    return true;
  }
  return false;
}

bool DataLock::acquire(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::function<void()> pump;
    {
      std::unique_lock lock(mutex_);
      if (takeLocked()) return true;
      auto slice = kPumpSlice;
      if (timeout.count() >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        if (left < slice) slice = left;
      }
      cv_.wait_for(lock, slice);
      if (takeLocked()) return true;
      pump = pump_;
    }
    if (pump) pump();
  }
}

bool DataLock::tryAcquire() {
  std::lock_guard lock(mutex_);
  return takeLocked();
}

bool DataLock::force() { return forceLending(std::thread::id{}); }

bool DataLock::forceLending(std::thread::id borrower) {
  std::lock_guard lock(mutex_);
  const auto me = std::this_thread::get_id();
  const bool was = free_;
  borrowDepth_ = 0;
  if (!free_ && owner_ != me) {
    // The holder's coming release gives the lock back to this thread
    // instead of freeing it under its feet.
    if (borrower != std::thread::id{} && owner_ == borrower)
      borrowDepth_ = 1;
    else
      displaced_ = owner_;
  }
  free_ = false;
  owner_ = me;
  borrower_ = borrower;
  return was;
}

bool DataLock::lendTo(std::thread::id borrower) {
  {
    std::lock_guard lock(mutex_);
    if (free_ || owner_ != std::this_thread::get_id() || borrower_ != std::thread::id{}) return false;
    borrower_ = borrower;
    borrowDepth_ = 0;
  }
  cv_.notify_all();  // a borrower already waiting may go on
  return true;
}

void DataLock::endLoan() {
  {
    std::lock_guard lock(mutex_);
    if (free_ || owner_ != std::this_thread::get_id()) return;
    borrower_ = std::thread::id{};
    borrowDepth_ = 0;
  }
  cv_.notify_all();
}

void DataLock::release() {
  {
    std::lock_guard lock(mutex_);
    const auto me = std::this_thread::get_id();
    if (displaced_ != std::thread::id{} && displaced_ == me) {
      displaced_ = std::thread::id{};  // its hold ended when the lock was forced
    } else if (borrowDepth_ > 0 && borrower_ == me) {
      --borrowDepth_;  // back to the thread that forced or lent it
    } else {
      free_ = true;
      owner_ = std::thread::id{};
      borrower_ = std::thread::id{};
      borrowDepth_ = 0;
    }
  }
  cv_.notify_all();
}

bool DataLock::isFree() const {
  std::lock_guard lock(mutex_);
  return free_;
}

bool DataLock::heldByCurrentThread() const {
  std::lock_guard lock(mutex_);
  const auto me = std::this_thread::get_id();
  if (borrowDepth_ > 0) return borrower_ == me;
  return !free_ && owner_ == me;
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
