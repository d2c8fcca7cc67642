#pragma once
// An open-addressing index from a 32-bit hash to entry numbers of a table kept
// elsewhere (the text pool, the time table). The table stays the owner of the
// keys and of their order; the index only remembers where to look, so interning
// costs one short probe sequence instead of a scan over every entry.
#include <cstddef>
#include <cstdint>

#include "platform/zeroed_words.h"

namespace vlm {

struct HashIndex {
  // (hash << 32) | (entry + 1); 0 marks an empty bucket. A power of two long.
  platform::ZeroedWords buckets;
  int32_t count = 0;  // entries indexed
};

// The entry whose hash matches and for which equal(entry) holds, or -1; then
// *freeBucket (when given) is the bucket where that key belongs.
template <class Equal>
int32_t hashIndexFind(const HashIndex& index, uint32_t hash, Equal&& equal, size_t* freeBucket = nullptr) {
  if (index.buckets.empty()) return -1;
  const size_t mask = index.buckets.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const uint64_t bucket = index.buckets[i];
    if (bucket == 0) {
      if (freeBucket) *freeBucket = i;
      return -1;
    }
    if (static_cast<uint32_t>(bucket >> 32) == hash) {
      const int32_t entry = static_cast<int32_t>(static_cast<uint32_t>(bucket) - 1);
      if (equal(entry)) return entry;
    }
  }
}

// Asks the processor to fetch the bucket where a search for this hash starts,
// so that a search a little later does not wait for memory.
inline void hashIndexPrefetch(const HashIndex& index, uint32_t hash) {
  if (!index.buckets.empty()) __builtin_prefetch(&index.buckets[hash & (index.buckets.size() - 1)]);
}

// Makes room for `more` entries beyond those indexed, at a load that keeps
// probes short. False when memory ran out; the index is then unchanged.
bool hashIndexReserve(HashIndex& index, size_t more);

// Grows the index for one more entry (see hashIndexReserveOne).
bool hashIndexGrowForOne(HashIndex& index);

// Makes room for one more entry, so that a following hashIndexFind gives a
// free bucket that hashIndexPlace may fill. False when memory ran out; the
// index is then unchanged. Inline: a load asks at every cell, and the index
// almost always has room.
inline bool hashIndexReserveOne(HashIndex& index) {
  // Keep the load below 3/4 so that probe sequences stay short and every
  // search meets an empty bucket.
  const size_t needed = static_cast<size_t>(index.count) + 1;
  if (!index.buckets.empty() && needed * 4 <= index.buckets.size() * 3) return true;
  return hashIndexGrowForOne(index);
}

// Fills the free bucket that hashIndexFind gave for this hash.
void hashIndexPlace(HashIndex& index, size_t freeBucket, uint32_t hash, int32_t entry);

// Adds an entry that is not yet indexed. False when memory ran out; the index
// is then unchanged.
bool hashIndexInsert(HashIndex& index, uint32_t hash, int32_t entry);

// Forgets every entry and frees the buckets.
void hashIndexClear(HashIndex& index);

// Mixes a 64-bit key into a well-spread 32-bit hash.
uint32_t hashMix64(uint64_t key);

}  // namespace vlm
