#include "data/second_thread.h"

#include <atomic>
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

void forEachOnBothCores(int32_t count, bool bothCores, const std::function<void(int32_t)>& work) {
  if (!bothCores || count < 2 || !SecondThread::available()) {
    for (int32_t i = 0; i < count; ++i) work(i);
    return;
  }
  alignas(64) std::atomic<int32_t> next{0};
  const auto take = [&] {
    for (int32_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) work(i);
  };
  SecondThread helper(take);
  take();
  helper.join();
}

}  // namespace vlm
