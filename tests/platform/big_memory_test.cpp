#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/big_allocator.h"
#include "platform/zeroed_words.h"

namespace vlm::platform {
namespace {

TEST(ZeroedWords, SmallAndMappedArraysStartZeroAndCopyDeeply) {
  for (size_t count : {size_t{0}, size_t{10}, size_t{1} << 20}) {
    ZeroedWords words(count);
    ASSERT_EQ(words.size(), count);
    EXPECT_EQ(words.empty(), count == 0);
    bool zero = true;
    for (uint64_t w : words) zero = zero && w == 0;
    EXPECT_TRUE(zero) << count;
    if (count == 0) continue;
    words[count - 1] = 42;
    ZeroedWords copy = words;
    copy[count - 1] = 7;
    EXPECT_EQ(words[count - 1], 42u);
    ZeroedWords moved = std::move(words);
    EXPECT_EQ(moved[count - 1], 42u);
    EXPECT_TRUE(words.empty());  // NOLINT: a moved-from array is empty
    moved = copy;
    EXPECT_EQ(moved[count - 1], 7u);
  }
}

template <class Allocator>
void expectAlignedBlocksHoldingTheirContents() {
  std::vector<uint32_t, Allocator> v;
  for (uint32_t i = 0; i < (3u << 20); ++i) v.push_back(i * 3);  // grows through several mapped blocks
  EXPECT_EQ(reinterpret_cast<uintptr_t>(v.data()) % (uintptr_t{2} << 20), 0u);
  bool same = true;
  for (uint32_t i = 0; i < v.size(); ++i) same = same && v[i] == i * 3;
  EXPECT_TRUE(same);
  v.resize((2u << 20) / 4 + 1);  // a block of just over 2 MiB
  v.shrink_to_fit();
  EXPECT_EQ(v.back(), static_cast<uint32_t>(v.size() - 1) * 3);
  v.resize((3u << 19) / 4);  // 1.5 MiB: mapped too, in a block of its own
  v.shrink_to_fit();
  EXPECT_EQ(reinterpret_cast<uintptr_t>(v.data()) % (uintptr_t{2} << 20), 0u);
  EXPECT_EQ(v.back(), static_cast<uint32_t>(v.size() - 1) * 3);
  v.resize((1u << 20) / 4 - 1);  // just under 1 MiB: small pages, readied at once
  v.shrink_to_fit();
  EXPECT_EQ(v.back(), static_cast<uint32_t>(v.size() - 1) * 3);
  std::vector<uint32_t, Allocator> small{1, 2, 3};
  EXPECT_EQ(small[2], 3u);
  using Words = typename std::allocator_traits<Allocator>::template rebind_alloc<uint64_t>;
  EXPECT_THROW(Words().allocate(SIZE_MAX / 4), std::bad_alloc);
}

TEST(BigAllocator, LargeBlocksAreAlignedAndHoldTheirContents) {
  expectAlignedBlocksHoldingTheirContents<FilledBigAllocator<uint32_t>>();
}

TEST(BigAllocator, ZeroedBlocksReadZeroWhateverTheirSize) {
  // Cleared, mapped in small pages, mapped in huge pages: each side of each limit.
  for (size_t bytes : {size_t{100}, (size_t{256} << 10) - 8, size_t{256} << 10, (size_t{1} << 20) - 8,
                       size_t{1} << 20, (size_t{2} << 20) - 8, size_t{2} << 20, (size_t{5} << 20) + 4}) {
    auto* words = static_cast<uint64_t*>(bigAllocateZeroed(bytes));
    bool zero = true;
    for (size_t i = 0; i < bytes / 8; ++i) zero = zero && words[i] == 0;
    EXPECT_TRUE(zero) << bytes;
    words[0] = 1;
    words[bytes / 8 - 1] = 1;
    bigFreeZeroed(words, bytes);
  }
}

TEST(BigAllocator, FilledBlocksOfEveryKindHoldTheirContents) {
  // From new, mapped in small pages readied at once, mapped in huge pages.
  for (size_t bytes : {size_t{100}, (size_t{256} << 10) - 8, size_t{256} << 10, (size_t{1} << 20) - 8,
                       size_t{1} << 20, (size_t{2} << 20) + 8}) {
    auto* words = static_cast<uint64_t*>(bigAllocateFilled(bytes));
    for (size_t i = 0; i < bytes / 8; ++i) words[i] = i * 5 + 1;
    bool same = true;
    for (size_t i = 0; i < bytes / 8; ++i) same = same && words[i] == i * 5 + 1;
    EXPECT_TRUE(same) << bytes;
    bigFree(words, bytes);
  }
}

TEST(BigAllocator, ReadyingAZeroedBlockKeepsItZeroAndKeepsWhatWasWritten) {
  for (size_t bytes : {size_t{100}, size_t{300} << 10, (size_t{6} << 18) + 12, (size_t{3} << 20) + 4}) {
    auto* words = static_cast<uint64_t*>(bigAllocateZeroed(bytes));
    const size_t count = bytes / 8;
    // Ranges the call must leave alone: reversed, empty, past the end.
    bigReadyZeroed(words, bytes, 64, 8);
    bigReadyZeroed(words, bytes, 64, 64);
    bigReadyZeroed(words, bytes, 0, bytes + 4096);
    bigReadyZeroed(nullptr, bytes, 0, bytes);
    bigReadyZeroed(words, bytes, 12, bytes / 2);
    bool zero = true;
    for (size_t i = 0; i < count; ++i) zero = zero && words[i] == 0;
    EXPECT_TRUE(zero) << bytes;
    for (size_t i = 0; i < count / 2; ++i) words[i] = i + 3;
    // Readying again, over what was written and what was not, changes nothing.
    bigReadyZeroed(words, bytes, 0, bytes);
    bool kept = true;
    for (size_t i = 0; i < count; ++i) kept = kept && words[i] == (i < count / 2 ? i + 3 : 0);
    EXPECT_TRUE(kept) << bytes;
    bigFreeZeroed(words, bytes);
  }
}

TEST(BigAllocator, ZeroedCellsGrowThroughEverySizeKeepingWhatTheyHold) {
  // A table's cells grow from a few rows to millions: each growth moves the
  // cells into a block of another kind, and the new ones read zero.
  std::vector<uint32_t, ZeroedBigAllocator<uint32_t>> cells;
  size_t size = 10;
  while (size < (size_t{3} << 20)) {
    const size_t kept = cells.size();
    cells.resize(size);
    bool fresh = true;
    for (size_t i = kept; i < size; ++i) fresh = fresh && cells[i] == 0;
    EXPECT_TRUE(fresh) << size;
    for (size_t i = kept; i < size; ++i) cells[i] = static_cast<uint32_t>(i * 7 + 1);
    size = size * 5 / 2;
  }
  bool same = true;
  for (size_t i = 0; i < cells.size(); ++i) same = same && cells[i] == static_cast<uint32_t>(i * 7 + 1);
  EXPECT_TRUE(same);
  cells.resize(100000);  // 400 KB: a mapped block of small pages
  cells.shrink_to_fit();
  EXPECT_EQ(cells.back(), 99999u * 7 + 1);
}

}  // namespace
}  // namespace vlm::platform
