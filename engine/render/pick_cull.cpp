#include "engine/render/pick_cull.h"

#include <GL/gl.h>

#include <cmath>

#include "scene/object_record.h"

namespace vlm::render {
namespace {

// Row r of the 4 x 4 column-major matrix, first three columns and the fourth.
struct Row {
  double a, b, c, d;
};

Row rowOf(const double* m, int r) { return {m[r], m[4 + r], m[8 + r], m[12 + r]}; }

}  // namespace

void PickCull::loadFromGl() {
  double p[16], mv[16];
  glGetDoublev(GL_PROJECTION_MATRIX, p);
  glGetDoublev(GL_MODELVIEW_MATRIX, mv);
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      double s = 0;
      for (int k = 0; k < 4; ++k) s += p[k * 4 + r] * mv[c * 4 + k];
      mvp[c * 4 + r] = s;
    }
  active = true;
}

bool PickCull::mayHit(const ObjectRecord& o) const {
  if (!active) return true;
  const double radius = std::sqrt(double(o.width) * o.width + double(o.depth) * o.depth + double(o.height) * o.height);
  const Row w = rowOf(mvp, 3);
  for (int axis = 0; axis < 2; ++axis) {
    const Row v = rowOf(mvp, axis);
    for (int sign = -1; sign <= 1; sign += 2) {
      // Plane sign * v - w <= 0 holds inside; the sphere is outside when its
      // nearest point still has sign * v - w > 0.
      const double a = sign * v.a - w.a, b = sign * v.b - w.b, c = sign * v.c - w.c, d = sign * v.d - w.d;
      const double centre = a * o.x + b * o.y + c * o.z + d;
      if (centre - radius * std::sqrt(a * a + b * b + c * c) > 0) return false;
    }
  }
  return true;
}

}  // namespace vlm::render
