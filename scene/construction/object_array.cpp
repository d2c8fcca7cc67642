#include "scene/construction/object_array.h"

#include <algorithm>
#include <cmath>

#include "data/second_thread.h"

namespace vlm::scene {

int32_t gridColumns(int64_t n) {
  if (n <= 0) return 0;
  int64_t g = static_cast<int64_t>(std::sqrt(static_cast<double>(n)));
  while (g * g < n) ++g;
  while (g > 1 && (g - 1) * (g - 1) >= n) --g;
  return static_cast<int32_t>(g);
}

void layOutDefaultObjects(ObjectArray& objects, int32_t n) {
  if (n < 0) n = 0;
  // The resize leaves the new records unwritten: each is written once, below.
  objects.resize(static_cast<size_t>(n));
  const int32_t g = gridColumns(n);
  constexpr int32_t kBlock = 4096;
  const int32_t blocks = (n + kBlock - 1) / kBlock;
  // A fresh array of a million objects is over a hundred megabytes whose
  // pages the system clears as they are first written: both cores share that.
  forEachOnBothCores(blocks, n >= kObjectsForBothCores, [&](int32_t b) {
    const int32_t end = std::min(n, (b + 1) * kBlock);
    for (int32_t i = b * kBlock; i < end; ++i) {
      ObjectRecord o;
      o.defX = 10.0f * static_cast<float>(i % g + 1);
      o.defY = -10.0f * static_cast<float>(i / g + 1);
      objects[static_cast<size_t>(i)] = o;
    }
  });
}

void clearDefaultPlacement(ObjectArray& objects) {
  for (ObjectRecord& o : objects) o.defX = o.defY = 0.0f;
}

}  // namespace vlm::scene
