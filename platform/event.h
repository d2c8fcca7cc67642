#pragma once
// A manual-reset event with timed waits.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vlm::platform {

class ManualResetEvent {
 public:
  explicit ManualResetEvent(bool signalled = false) : signalled_(signalled) {}
  void set();
  void reset();
  bool isSet() const;
  // Waits until the event is set; a negative timeout waits without limit.
  // Returns false when the time ran out.
  bool wait(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1)) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable cv_;
  bool signalled_;
};

}  // namespace vlm::platform
