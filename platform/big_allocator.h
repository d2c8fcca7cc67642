#pragma once
// Memory for the big buffers of a load (the text pool, the time table). A
// block of 2 MiB or more comes straight from mmap, aligned at 2 MiB, and all
// of it past its first 2 MiB is marked for transparent huge pages: filling a
// buffer of many megabytes faults once per 2 MiB instead of once per 4 KiB,
// while a block reserved generously and barely used takes only the small
// pages it touches. A freed block goes back to the system at once. Smaller
// blocks come from new.
#include <cstddef>
#include <new>

namespace vlm::platform {

void* bigAllocate(size_t bytes);  // throws std::bad_alloc
void bigFree(void* block, size_t bytes) noexcept;

template <class T>
struct BigAllocator {
  using value_type = T;
  BigAllocator() noexcept = default;
  template <class U>
  BigAllocator(const BigAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(bigAllocate(n * sizeof(T)));
  }
  void deallocate(T* p, size_t n) noexcept { bigFree(p, n * sizeof(T)); }

  template <class U>
  bool operator==(const BigAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace vlm::platform
