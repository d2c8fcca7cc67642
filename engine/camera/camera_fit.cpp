#include "engine/camera/camera_fit.h"

#include <algorithm>
#include <cmath>

namespace vlm {
namespace {

constexpr float kDegrees = 3.14159265358979f / 180.0f;

// Rotation by `degrees` about one axis, as glRotatef applies it to a point.
void rotate(float p[3], int axis, float degrees) {
  if (degrees == 0.0f) return;
  const float c = std::cos(degrees * kDegrees), s = std::sin(degrees * kDegrees);
  const int a = (axis + 1) % 3, b = (axis + 2) % 3;
  const float u = p[a], v = p[b];
  p[a] = c * u - s * v;
  p[b] = s * u + c * v;
}

}  // namespace

bool projectPoint(const CameraSnapshot& c, const FrameView& view, const float p[3], float& x, float& y) {
  // Model-view of the frame: translate, rotate X, Y, Z, scale, minus the centre
  // (the last applied first to the point).
  float e[3];
  for (int i = 0; i < 3; ++i) e[i] = (p[i] - c.sceneCentre[i]) * c.sceneScale;
  rotate(e, 2, c.rotation[2]);
  rotate(e, 1, c.rotation[1]);
  rotate(e, 0, c.rotation[0]);
  for (int i = 0; i < 3; ++i) e[i] += c.cameraTranslation[i];
  const float depth = -e[2];
  if (depth <= 1.0f || view.width <= 0 || view.height <= 0) return false;  // the near plane is at 1
  const float f = 1.0f / std::tan(c.fieldOfView * 0.5f * kDegrees);
  const float aspect = static_cast<float>(view.width) / static_cast<float>(view.height);
  const float nx = f / aspect * e[0] / depth, ny = f * e[1] / depth;
  x = (nx + 1.0f) * 0.5f * static_cast<float>(view.width);
  y = (ny + 1.0f) * 0.5f * static_cast<float>(view.height);
  return true;
}

bool allInView(const CameraSnapshot& camera, const FrameView& view, const std::vector<FramePoint>& points) {
  const float m = view.margin;
  for (const FramePoint& p : points) {
    float x = 0, y = 0;
    if (!projectPoint(camera, view, p.position, x, y)) return false;
    if (x - p.left < m || x + p.right > static_cast<float>(view.width) - m) return false;
    if (y - p.below < m || y + p.above > static_cast<float>(view.height) - m) return false;
  }
  return true;
}

float fittedCameraZ(CameraSnapshot camera, const FrameView& view, const std::vector<FramePoint>& points) {
  const float own = camera.cameraTranslation[2];
  if (points.empty() || view.width <= 0 || view.height <= 0) return own;
  if (allInView(camera, view, points)) return own;
  // Farther by 5 % at a time, then back towards the last position that did
  // not show everything, halving the gap.
  const float start = std::min(own, -1.0f);
  float z = start;
  while (z > start * 100.0f) {
    const float previous = z;
    z *= 1.05f;
    camera.cameraTranslation[2] = z;
    if (!allInView(camera, view, points)) continue;
    float outside = previous, inside = z;
    for (int k = 0; k < 12; ++k) {
      const float mid = 0.5f * (outside + inside);
      camera.cameraTranslation[2] = mid;
      if (allInView(camera, view, points)) inside = mid;
      else outside = mid;
    }
    return inside;
  }
  return own;
}

}  // namespace vlm
