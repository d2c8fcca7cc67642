#pragma once
// Memory for the big buffers of a load (the text pool, the time table, the
// cells). A block of 1 MiB or more comes straight from mmap, aligned at 2 MiB,
// and is marked for transparent huge pages: filling a buffer of many
// megabytes faults once per 2 MiB instead of once per 4 KiB (here a fault
// costs microseconds). Every such block is filled, or sized for what a load
// foresees (the text pool for the distinct texts its analysis counted), so it
// is huge from its first byte; one touched only in part costs at most the
// rest of a huge page. A freed block goes back to the system at once.
// A block from 256 KiB to 1 MiB is mapped in small pages that the system
// readies in one call rather than one fault per page (a zeroed one only as
// far as bigReadyZeroed says). Smaller blocks come from new.
#include <cstddef>
#include <new>

namespace vlm::platform {

// For a block that will be filled (freed with bigFree).
void* bigAllocateFilled(size_t bytes);  // throws std::bad_alloc
void bigFree(void* block, size_t bytes) noexcept;
// The same, but the block reads as zero: a mapped block (from 256 KiB on) is
// zero as the system hands it out (no pass over it), a small one is cleared.
// Freed with bigFreeZeroed.
void* bigAllocateZeroed(size_t bytes);  // throws std::bad_alloc
void bigFreeZeroed(void* block, size_t bytes) noexcept;
// Has the system ready the bytes [from, to) of a zeroed block of `bytes` in
// one call, before they are filled. A block under 2 MiB keeps small pages,
// each of which would otherwise fault on its own when first written: some
// 300 faults for a field of a hundred thousand cells. Other blocks are left
// to fault as they are filled (once per huge page, on the filling core).
// A hint: where the system cannot, nothing happens.
void bigReadyZeroed(void* block, size_t bytes, size_t from, size_t to) noexcept;

// A standard container's allocator taking its blocks from `allocateBlock` and
// giving them back to `freeBlock`. With `leavesNewElements` an element a
// resize adds is not constructed: it is left as the memory lies.
template <class T, void* (*allocateBlock)(size_t), void (*freeBlock)(void*, size_t) noexcept,
          bool leavesNewElements>
struct BlockAllocator {
  using value_type = T;
  template <class U>
  struct rebind {
    using other = BlockAllocator<U, allocateBlock, freeBlock, leavesNewElements>;
  };
  BlockAllocator() noexcept = default;
  template <class U>
  BlockAllocator(const BlockAllocator<U, allocateBlock, freeBlock, leavesNewElements>&) noexcept {}

  T* allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(allocateBlock(n * sizeof(T)));
  }
  void deallocate(T* p, size_t n) noexcept { freeBlock(p, n * sizeof(T)); }

  template <class U>
  void construct(U* p) {
    if constexpr (!leavesNewElements) ::new (static_cast<void*>(p)) U();
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(static_cast<Args&&>(args)...);
  }

  template <class U>
  bool operator==(const BlockAllocator<U, allocateBlock, freeBlock, leavesNewElements>&) const noexcept {
    return true;
  }
};

// For arrays that are filled as soon as they are made (a list sized for its
// entries, a copy of a column).
template <class T>
using FilledBigAllocator = BlockAllocator<T, bigAllocateFilled, bigFree, false>;

// For arrays whose maker writes every element a resize adds, perhaps on both
// cores: the resize does not write them first, so each page is first touched
// by the core that fills it.
template <class T>
using OverwrittenBigAllocator = BlockAllocator<T, bigAllocateFilled, bigFree, true>;

// For arrays of plain records that are only ever grown (a table's cells):
// their memory comes zeroed, so an element a resize adds is left as it lies
// (a default-made element is the zero the memory already holds) instead of
// being written, and a table of many megabytes is first touched where its
// cells are stored, on whichever core stores them, not in one clearing pass.
// An element added within the capacity a vector already had is not zeroed by
// the resize: the one who grows must clear such elements (see growRows).
template <class T>
using ZeroedBigAllocator = BlockAllocator<T, bigAllocateZeroed, bigFreeZeroed, true>;

}  // namespace vlm::platform
