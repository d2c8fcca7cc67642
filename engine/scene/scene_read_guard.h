#pragma once
// Lets a frame read the model only while no other thread can change it: either
// the engine thread already holds the data lock (a handler drawing after its
// change), or the lock is free and is taken for the read. When another thread
// holds it (a load, an association change), the frame draws what is compiled.
#include "platform/data_lock.h"

namespace vlm {

class SceneReadGuard {
 public:
  explicit SceneReadGuard(platform::DataLock& lock) : lock_(lock) {
    if (lock_.heldByCurrentThread()) ok_ = true;
    else ok_ = owned_ = lock_.tryAcquire();
  }
  ~SceneReadGuard() {
    if (owned_) lock_.release();
  }
  SceneReadGuard(const SceneReadGuard&) = delete;
  SceneReadGuard& operator=(const SceneReadGuard&) = delete;
  bool ok() const { return ok_; }

 private:
  platform::DataLock& lock_;
  bool ok_ = false;
  bool owned_ = false;
};

}  // namespace vlm
