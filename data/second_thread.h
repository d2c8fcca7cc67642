#pragma once
// Work for the second core: a helper thread runs it while the calling thread
// does its own share. Where no thread can be started the work runs on the
// calling thread when joined, so callers get the same result either way.
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>

namespace vlm {

class SecondThread {
 public:
  explicit SecondThread(std::function<void()> work);
  ~SecondThread() { join(); }
  SecondThread(const SecondThread&) = delete;
  SecondThread& operator=(const SecondThread&) = delete;

  // Waits for the work (or runs it here); after it, the work's results are visible.
  void join();

  // Whether the work runs on a thread of its own (otherwise join runs it).
  bool started() const { return thread_.has_value(); }

  // True on a machine with more than one core.
  static bool available();

 private:
  std::function<void()> work_;
  std::optional<std::jthread> thread_;
  bool done_ = false;
};

// Runs work(i) for every i of [0, count): with `bothCores` (and a second
// core), on this thread and a helper, each taking the next i as it comes
// free, so the calls of different i must not touch the same data; otherwise
// in order on this thread.
void forEachOnBothCores(int32_t count, bool bothCores, const std::function<void(int32_t)>& work);

}  // namespace vlm
