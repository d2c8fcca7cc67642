#include "model/scaled_value.h"

#include <algorithm>
#include <cmath>

#include "model/transforms.h"

namespace vlm {

float normalisedUnclamped(const Association& pass, float x) {
  const Transform xf = pass.fieldType == 6 /* FT_FLAG */ ? Transform::None : transformOf(pass.options);
  if (pass.field >= 0) {
    x = applyTransform(xf, x, pass.transformOrigin, usableTransformRange(pass.transformRange));
  }
  const float P = pass.displayMin;
  const float Q = pass.displayMax;
  float t;
  if (P < 0.0f && Q > 0.0f) t = x / std::max(std::fabs(P), std::fabs(Q));
  else t = Q == P ? 1.0f : (x - P) / (Q - P);
  if (pass.options & MAP_INVERSE) t = 1.0f - t;
  return t;
}

float scaledValue(const Association& pass, float x) {
  return 2.0f * pass.scale * normalisedUnclamped(pass, x);
}

}  // namespace vlm
