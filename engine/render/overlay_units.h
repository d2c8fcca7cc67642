#pragma once
// Overlay pixels: the legend, the colour bar and the information panel are laid
// out in window pixels, so that a display with a device-pixel ratio other than
// 1 shows them at their usual size. The viewport and the mouse positions the
// engine receives are device pixels; these convert between the two.
#include <cstdint>

#include "engine/view_state.h"

namespace vlm::render {

inline float overlayScale(const ViewState& v) {
  const float r = v.devicePixelRatio.load();
  return r > 0.0f ? r : 1.0f;
}

inline int32_t overlayWidth(const ViewState& v) {
  return static_cast<int32_t>(static_cast<float>(v.viewportWidth) / overlayScale(v) + 0.5f);
}

inline int32_t overlayHeight(const ViewState& v) {
  return static_cast<int32_t>(static_cast<float>(v.viewportHeight) / overlayScale(v) + 0.5f);
}

// A mouse position (device pixels, y down) in overlay pixels: x, and y upwards.
inline float overlayX(const ViewState& v, int x) { return static_cast<float>(x) / overlayScale(v); }
inline float overlayYUp(const ViewState& v, int y) {
  return static_cast<float>(v.viewportHeight - y) / overlayScale(v);
}
// y downwards, as the information panel takes the mouse.
inline float overlayYDown(const ViewState& v, int y) { return static_cast<float>(y) / overlayScale(v); }

}  // namespace vlm::render
