#include "engine/picking/hit_records.h"

#include <algorithm>
#include <limits>

namespace vlm::pick {

int32_t nearestHitName(const uint32_t* buffer, size_t words, int hits) {
  if (!buffer || hits == 0) return -1;
  const size_t limit = hits < 0 ? std::numeric_limits<size_t>::max() : static_cast<size_t>(hits);
  uint32_t best = 0xFFFFFFFEu;
  int32_t result = -1;
  size_t at = 0;
  for (size_t record = 0; record < limit && at + 3 <= words; ++record) {
    const uint32_t names = buffer[at];
    const uint32_t zmin = buffer[at + 1], zmax = buffer[at + 2];
    if (names > words - at - 3) break;  // truncated by an overflow
    const int32_t first = names > 0 ? static_cast<int32_t>(buffer[at + 3]) : -1;
    if (zmin < best) best = zmin, result = first;
    if (zmax < best) best = zmax, result = first;
    at += 3 + static_cast<size_t>(names);
  }
  return result;
}

int32_t selectionBufferWords(int64_t rows, size_t bufferSize) {
  const uint64_t wanted = 4 * static_cast<uint64_t>(std::max<int64_t>(rows, 0)) + 100;
  const uint64_t held = std::min<uint64_t>(wanted, bufferSize);
  return static_cast<int32_t>(std::min<uint64_t>(held, static_cast<uint64_t>(std::numeric_limits<int32_t>::max())));
}

}  // namespace vlm::pick
