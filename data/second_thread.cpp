#include "data/second_thread.h"

#include <system_error>
#include <utility>

namespace vlm {

SecondThread::SecondThread(std::function<void()> work) : work_(std::move(work)) {
  try {
    thread_.emplace(work_);
  } catch (const std::system_error&) {
    // Joining runs the work instead.
  }
}

void SecondThread::join() {
  if (done_) return;
  done_ = true;
  if (thread_) {
    thread_->join();
    thread_.reset();
  } else {
    work_();
  }
}

bool SecondThread::available() { return std::thread::hardware_concurrency() > 1; }

}  // namespace vlm
