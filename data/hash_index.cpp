#include "data/hash_index.h"

#include <new>

namespace vlm {
namespace {

constexpr size_t kFirstBucketCount = 64;

void place(std::vector<uint64_t>& buckets, uint64_t bucket) {
  const size_t mask = buckets.size() - 1;
  size_t i = static_cast<uint32_t>(bucket >> 32) & mask;
  while (buckets[i] != 0) i = (i + 1) & mask;
  buckets[i] = bucket;
}

}  // namespace

bool hashIndexReserveOne(HashIndex& index) {
  // Keep the load below 3/4 so that probe sequences stay short and every
  // search meets an empty bucket.
  const size_t needed = static_cast<size_t>(index.count) + 1;
  if (index.buckets.empty() || needed * 4 > index.buckets.size() * 3) {
    const size_t size = index.buckets.empty() ? kFirstBucketCount : index.buckets.size() * 2;
    std::vector<uint64_t> grown;
    try {
      grown.assign(size, 0);
    } catch (const std::bad_alloc&) {
      return false;
    }
    for (uint64_t bucket : index.buckets)
      if (bucket != 0) place(grown, bucket);
    index.buckets.swap(grown);
  }
  return true;
}

void hashIndexPlace(HashIndex& index, size_t freeBucket, uint32_t hash, int32_t entry) {
  index.buckets[freeBucket] = (static_cast<uint64_t>(hash) << 32) | (static_cast<uint32_t>(entry) + 1u);
  ++index.count;
}

bool hashIndexInsert(HashIndex& index, uint32_t hash, int32_t entry) {
  if (!hashIndexReserveOne(index)) return false;
  place(index.buckets, (static_cast<uint64_t>(hash) << 32) | (static_cast<uint32_t>(entry) + 1u));
  ++index.count;
  return true;
}

void hashIndexClear(HashIndex& index) {
  std::vector<uint64_t>().swap(index.buckets);
  index.count = 0;
}

uint32_t hashMix64(uint64_t key) {
  // splitmix64 finaliser
  key ^= key >> 30;
  key *= 0xbf58476d1ce4e5b9ull;
  key ^= key >> 27;
  key *= 0x94d049bb133111ebull;
  key ^= key >> 31;
  return static_cast<uint32_t>(key ^ (key >> 32));
}

}  // namespace vlm
