#pragma once
// Moving the camera back until the whole space is in view. The reset formula
// places the camera from the extents of the data alone; the axes (which reach
// 1.2 times beyond the data), their titles and the lattice labels can still fall
// outside the window. The fit keeps the formula's position when everything is
// inside and otherwise only moves the camera further away along its view.
#include <vector>

#include "engine/view_state.h"

namespace vlm {

// A point the view must show, with the pixels its text takes beside it.
struct FramePoint {
  float position[3] = {0, 0, 0};
  float left = 0, right = 0, below = 0, above = 0;  // pixels around the projected point
};

struct FrameView {
  int width = 0, height = 0;  // viewport, device pixels
  float margin = 8.0f;        // pixels kept free at each edge
};

// Window position (x right, y up, pixels) of a scene point through the frame's
// projection and model-view with `camera`; false behind the near plane.
bool projectPoint(const CameraSnapshot& camera, const FrameView& view, const float p[3], float& x, float& y);

// Whether every point, with its text, lies inside the view less the margin.
bool allInView(const CameraSnapshot& camera, const FrameView& view, const std::vector<FramePoint>& points);

// The camera z (0 or negative) at or beyond `camera`'s own at which every
// point is in view; the camera's own z when it already is, or when no distance
// up to a hundred times the start shows them all.
float fittedCameraZ(CameraSnapshot camera, const FrameView& view, const std::vector<FramePoint>& points);

}  // namespace vlm
