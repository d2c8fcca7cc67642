#pragma once
// Millisecond tick count, like the system's uptime counter.
#include <chrono>
#include <cstdint>

namespace vlm::platform {

inline uint32_t tickCount() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace vlm::platform
