#include "platform/big_allocator.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>

namespace vlm::platform {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;

size_t roundUp(size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

// Maps an aligned block in huge pages.
void* mapBlock(size_t bytes) {
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
  // madvise is a hint: without it the block works with small pages.
  madvise(block, size, MADV_HUGEPAGE);
  return block;
}

}  // namespace

// From this size on every block is mapped (bigFree tells the two kinds apart
// by size). A block filled from its start takes a huge page even when it is
// shorter than one: one fault instead of 256 to 512, for at most 1 MiB of
// memory more.
constexpr size_t kMapped = size_t{1} << 20;

// From this size on a block too small for kMapped (or, zeroed, for a huge
// page) is mapped in small pages rather than taken from new: the allocator
// would map a block this big itself. A filled one is readied in the one call,
// where each page would otherwise fault on its own as it is filled; a zeroed
// one comes zero from the system when first touched, by whichever thread
// fills it, instead of being cleared here in one pass on the calling thread.
constexpr size_t kSmallPages = size_t{256} << 10;

namespace {

void* mapSmallPages(size_t bytes, int flags) {
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | flags, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  return block;
}

}  // namespace

void* bigAllocateFilled(size_t bytes) {
  if (bytes < kSmallPages) return ::operator new(bytes);
  if (bytes < kMapped) return mapSmallPages(bytes, MAP_POPULATE);
  // Small pages would cost a fault each: 512 for every 2 MiB.
  return mapBlock(bytes);
}

void* bigAllocateZeroed(size_t bytes) {
  if (bytes >= kHugePage) return bigAllocateFilled(bytes);
  // A table's cells are touched only as far as its rows reach: below 2 MiB
  // they keep small pages rather than take a huge page for part of one.
  if (bytes >= kSmallPages) return mapSmallPages(bytes, 0);
  void* block = ::operator new(bytes);
  std::memset(block, 0, bytes);
  return block;
}

void bigReadyZeroed(void* block, size_t bytes, size_t from, size_t to) noexcept {
  if (!block || bytes < kSmallPages || bytes >= kHugePage || from >= to || to > bytes) return;
  constexpr uintptr_t kPage = 4096;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + from) & ~(kPage - 1);
  const uintptr_t end = reinterpret_cast<uintptr_t>(block) + to;
  // The mapping starts on a page and covers whole pages, so the rounded
  // range stays inside it.
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

void bigFreeZeroed(void* block, size_t bytes) noexcept {
  if (block && bytes >= kSmallPages && bytes < kHugePage) {
    munmap(block, bytes);
    return;
  }
  bigFree(block, bytes);
}

void bigFree(void* block, size_t bytes) noexcept {
  if (!block) return;
  if (bytes < kSmallPages) {
    ::operator delete(block);
    return;
  }
  munmap(block, bytes < kMapped ? bytes : roundUp(bytes));
}

}  // namespace vlm::platform
