#pragma once
// Work for the second core: a helper thread runs it while the calling thread
// does its own share. Where no thread can be started the work runs on the
// calling thread when joined, so callers get the same result either way.
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

  // True on a machine with more than one core.
  static bool available();

 private:
  std::function<void()> work_;
  std::optional<std::jthread> thread_;
  bool done_ = false;
};

}  // namespace vlm
