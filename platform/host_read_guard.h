#pragma once
// Reading what the data lock guards from the host thread, where a worker may
// hold the lock while it waits for the host (a popup menu it asked for, a
// message box). Such a holder has lent the host its lock for that work: it
// changes nothing until the host answers. Any other holder is waited for,
// with the host's queued work running meanwhile.
#include "platform/data_lock.h"
#include "platform/host_bridge.h"

namespace vlm::platform {

class HostReadGuard {
 public:
  explicit HostReadGuard(DataLock& lock)
      : lock_(lock), taken_(lock.acquireUnlessLent([](std::thread::id holder) {
          return HostBridge::instance().isServing(holder);
        })) {}
  ~HostReadGuard() {
    if (taken_) lock_.release();
  }
  HostReadGuard(const HostReadGuard&) = delete;
  HostReadGuard& operator=(const HostReadGuard&) = delete;

 private:
  DataLock& lock_;
  bool taken_;
};

}  // namespace vlm::platform
