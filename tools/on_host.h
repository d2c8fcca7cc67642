#pragma once
// Runs a tool window's work on the host thread and hands back its result;
// directly when called there, or when no host is attached (tests, shutdown).
#include <cstdint>

#include "platform/host_bridge.h"

namespace vlm::tools {

template <class F>
auto onHost(F f) {
  platform::HostBridge& bridge = platform::HostBridge::instance();
  if (bridge.isHostThread() || !bridge.hostWindow()) return f();
  decltype(f()) result{};
  bridge.runOnHost([&]() -> intptr_t {
    result = f();
    return 0;
  });
  return result;
}

}  // namespace vlm::tools
