#pragma once
// A pickable rectangle of the overlays, in overlay pixels with y growing upwards
// (top > bottom). Picking tests these before the 3D passes, borders included.
#include <cstdint>
#include <vector>

namespace vlm::scene {

struct HotRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t name = -1;
};

inline bool contains(const HotRect& r, int32_t x, int32_t y) {
  return x >= r.left && x <= r.right && y >= r.bottom && y <= r.top;
}

// The name of the first rectangle holding (x, y), or -1.
inline int32_t hotRectAt(const std::vector<HotRect>& rects, int32_t x, int32_t y) {
  for (const HotRect& r : rects)
    if (contains(r, x, y)) return r.name;
  return -1;
}

}  // namespace vlm::scene
