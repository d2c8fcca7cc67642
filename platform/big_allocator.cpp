#include "platform/big_allocator.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>

namespace vlm::platform {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;

size_t roundUp(size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

}  // namespace

void* bigAllocate(size_t bytes) {
  if (bytes < kHugePage) return ::operator new(bytes);
  if (bytes > SIZE_MAX - 2 * kHugePage) throw std::bad_alloc();
  const size_t size = roundUp(bytes);
  // Map one huge page more than needed and cut the mapping down to an
  // aligned run, so the kernel can back it with whole huge pages.
  const size_t mapped = size + kHugePage;
  void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kHugePage - 1) & ~(uintptr_t{kHugePage} - 1);
  if (aligned > start) munmap(raw, aligned - start);
  const uintptr_t tail = start + mapped - (aligned + size);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + size), tail);
  void* block = reinterpret_cast<void*>(aligned);
  // The first 2 MiB keep small pages, so that a block reserved generously but
  // barely used (a pool of a few texts readied for a million) stays small.
  // madvise is a hint: without it the block works with small pages.
  if (size > kHugePage) madvise(static_cast<char*>(block) + kHugePage, size - kHugePage, MADV_HUGEPAGE);
  return block;
}

void* bigAllocateZeroed(size_t bytes) {
  if (bytes >= kHugePage) return bigAllocate(bytes);
  void* block = ::operator new(bytes);
  std::memset(block, 0, bytes);
  return block;
}

void bigFree(void* block, size_t bytes) noexcept {
  if (!block) return;
  if (bytes < kHugePage) {
    ::operator delete(block);
    return;
  }
  munmap(block, roundUp(bytes));
}

}  // namespace vlm::platform
