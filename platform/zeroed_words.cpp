#include "platform/zeroed_words.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace vlm::platform {
namespace {

// Below this, calloc's clearing costs less than a mapping.
constexpr size_t kMappedBytes = size_t{256} << 10;
constexpr size_t kHugePage = size_t{2} << 20;

uint64_t* allocateZeroed(size_t count) {
  if (count == 0) return nullptr;
  if (count > SIZE_MAX / sizeof(uint64_t)) throw std::bad_alloc();
  const size_t bytes = count * sizeof(uint64_t);
  void* block = nullptr;
  if (bytes < kMappedBytes) {
    block = std::calloc(count, sizeof(uint64_t));
    if (!block) throw std::bad_alloc();
  } else {
    block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    // Past the first 2 MiB, huge pages: an index of millions of buckets is
    // then probed without a TLB miss per bucket. A hint only.
    if (bytes > kHugePage) madvise(static_cast<char*>(block) + kHugePage, bytes - kHugePage, MADV_HUGEPAGE);
  }
  return static_cast<uint64_t*>(block);
}

void freeZeroed(uint64_t* words, size_t count) noexcept {
  if (!words) return;
  const size_t bytes = count * sizeof(uint64_t);
  if (bytes < kMappedBytes)
    std::free(words);
  else
    munmap(words, bytes);
}

}  // namespace

ZeroedWords::ZeroedWords(size_t count) : words_(allocateZeroed(count)), count_(count) {}

ZeroedWords::ZeroedWords(const ZeroedWords& other) : words_(allocateZeroed(other.count_)), count_(other.count_) {
  if (count_ > 0) std::memcpy(words_, other.words_, count_ * sizeof(uint64_t));
}

ZeroedWords::ZeroedWords(ZeroedWords&& other) noexcept
    : words_(std::exchange(other.words_, nullptr)), count_(std::exchange(other.count_, 0)) {}

ZeroedWords& ZeroedWords::operator=(ZeroedWords other) noexcept {
  swap(other);
  return *this;
}

ZeroedWords::~ZeroedWords() { freeZeroed(words_, count_); }

void ZeroedWords::swap(ZeroedWords& other) noexcept {
  std::swap(words_, other.words_);
  std::swap(count_, other.count_);
}

}  // namespace vlm::platform
