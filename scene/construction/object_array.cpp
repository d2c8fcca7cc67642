#include "scene/construction/object_array.h"

#include <cmath>

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
  objects.resize(static_cast<size_t>(n));
  const int32_t g = gridColumns(n);
  for (int32_t i = 0; i < n; ++i) {
    ObjectRecord o;
    o.defX = 10.0f * static_cast<float>(i % g + 1);
    o.defY = -10.0f * static_cast<float>(i / g + 1);
    o.defZ = 0.0f;
    o.defRed = 0.0f, o.defGreen = 0.5f, o.defBlue = 0.9f, o.defAlpha = 1.0f;
    o.shape = 0x66;
    o.baseWidth = o.baseDepth = o.baseHeight = 4.0f;
    o.texture = 0;
    o.labelList = 0;
    objects[static_cast<size_t>(i)] = o;
  }
}

void clearDefaultPlacement(ObjectArray& objects) {
  for (ObjectRecord& o : objects) o.defX = o.defY = 0.0f;
}

}  // namespace vlm::scene
