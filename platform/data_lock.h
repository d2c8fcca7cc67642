#pragma once
// The data lock: guards the data table, the associations and the scene.
// Free means "set". Acquiring waits for it to be free and takes it in one step,
// so two threads can never both get in.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vlm::platform {

class DataLock {
 public:
  // Waits until free, then takes it. A negative timeout waits without limit.
  // While waiting, `pump` (if given) is called whenever woken, so a waiting host
  // thread can still serve requests of the thread that holds the lock.
  bool acquire(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1));
  bool tryAcquire();
  // Takes the lock without waiting, whoever holds it (closing the window does
  // this so that no new work starts). Returns whether it was free. The
  // release of the thread that held it then ends only that thread's hold:
  // the lock stays with the forcing thread until it releases it.
  bool force();
  // As force(), but `borrower` may still take and release the lock meanwhile,
  // as if it were free, while every other thread stays out. Closing the
  // window lends the lock to the engine thread this way: work queued there
  // before the close can finish instead of waiting on the closer, which in
  // turn waits for the engine thread. The closer's release() frees it.
  bool forceLending(std::thread::id borrower);
  // While the holder waits for another thread to finish something on its
  // behalf (the host showing a popup menu that the click handler asked for),
  // it lends the lock to that thread: `borrower` may take and release it as if
  // it were free, also nested, while every other thread stays out. False when
  // the calling thread does not hold the lock; nothing is lent then.
  bool lendTo(std::thread::id borrower);
  // Ends the loan; the lender holds the lock as before.
  void endLoan();
  void release();
  bool isFree() const;
  // Whether the calling thread took the lock (acquire, tryAcquire or force) and
  // has not released it: code that runs both under the lock and without it (a
  // frame drawn by a handler that holds the lock) can tell whether it may read.
  bool heldByCurrentThread() const;
  // Waits until the lock is free without taking it.
  bool waitFree(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1)) const;
  // Wakes waiters so they can run their pump.
  void nudge();
  void setPump(std::function<void()> pump);

 private:
  bool takeLocked();  // with mutex_ held

  mutable std::mutex mutex_;
  mutable std::condition_variable cv_;
  bool free_ = true;
  std::thread::id owner_{};
  std::thread::id borrower_{};  // may take the forced or lent lock
  int borrowDepth_ = 0;         // how many holds the borrower has taken
  std::thread::id displaced_{}; // held the lock when it was forced; its release changes nothing
  std::function<void()> pump_;
};

// Holds the lock for a scope.
class DataLockGuard {
 public:
  explicit DataLockGuard(DataLock& lock) : lock_(lock) { lock_.acquire(); }
  ~DataLockGuard() { lock_.release(); }
  DataLockGuard(const DataLockGuard&) = delete;
  DataLockGuard& operator=(const DataLockGuard&) = delete;

 private:
  DataLock& lock_;
};

}  // namespace vlm::platform
