#include "data/hash_index.h"

#include <new>

namespace vlm {
namespace {

constexpr size_t kFirstBucketCount = 64;

void place(platform::ZeroedWords& buckets, uint64_t bucket) {
  const size_t mask = buckets.size() - 1;
  size_t i = static_cast<uint32_t>(bucket >> 32) & mask;
  while (buckets[i] != 0) i = (i + 1) & mask;
  buckets[i] = bucket;
}

bool grow(HashIndex& index, size_t size) {
  platform::ZeroedWords grown;
  try {
    grown = platform::ZeroedWords(size);
  } catch (const std::bad_alloc&) {
    return false;
  }
  // Old buckets are read in order and land in order (a bucket's new place is
  // its old place or one table length on), so the copy streams through memory.
  for (uint64_t bucket : index.buckets)
    if (bucket != 0) place(grown, bucket);
  index.buckets.swap(grown);
  return true;
}

}  // namespace

bool hashIndexReserve(HashIndex& index, size_t more) {
  const size_t needed = static_cast<size_t>(index.count) + more;
  // Room up to the load at which the index would grow anyway.
  size_t size = index.buckets.empty() ? kFirstBucketCount : index.buckets.size();
  while (size / 4 * 3 < needed) {
    if (size > (SIZE_MAX >> 2)) return false;
    size *= 2;
  }
  return size == index.buckets.size() || grow(index, size);
}

bool hashIndexGrowForOne(HashIndex& index) {
  return grow(index, index.buckets.empty() ? kFirstBucketCount : index.buckets.size() * 2);
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
  platform::ZeroedWords().swap(index.buckets);
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
