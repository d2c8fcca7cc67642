#pragma once
// Counts heap allocations made by the current thread while a counter is alive.
#include <cstdint>

namespace vlm::test {

class AllocationCounter {
 public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;
  int64_t count() const;
};

}  // namespace vlm::test
