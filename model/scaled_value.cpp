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

float valueOfNormalised(const Association& pass, float t) {
  if (pass.options & MAP_INVERSE) t = 1.0f - t;
  const float P = pass.displayMin;
  const float Q = pass.displayMax;
  float x;
  if (P < 0.0f && Q > 0.0f) x = t * std::max(std::fabs(P), std::fabs(Q));
  else x = Q == P ? P : P + t * (Q - P);
  if (pass.field < 0) return x;
  const Transform xf = pass.fieldType == 6 /* FT_FLAG */ ? Transform::None : transformOf(pass.options);
  const float range = usableTransformRange(pass.transformRange);
  switch (xf) {
    case Transform::Logn:  // x = ln(d * 97 / range + 3)
      return pass.transformOrigin + std::max(0.0f, (std::exp(x) - 3.0f) * range / 97.0f);
    case Transform::Exp:   // x = exp(d * 2 / range + 1)
      return pass.transformOrigin + (x > 0.0f ? std::max(0.0f, (std::log(x) - 1.0f) * range / 2.0f) : 0.0f);
    default:
      return x;
  }
}

}  // namespace vlm
