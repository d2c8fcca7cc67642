#pragma once
// The MAP_LOGN and MAP_EXP transforms: origin o maps to ln 3 (e^1) and o + r to
// ln 100 (e^3).
#include <cmath>
#include <cstdint>

#include "model/association.h"

namespace vlm {

enum class Transform : uint8_t { None, Logn, Exp };

inline Transform transformOf(uint8_t options) {
  if (usesLogn(options)) return Transform::Logn;
  if (usesExp(options)) return Transform::Exp;
  return Transform::None;
}

// A range that is 0 (a constant field), negative or NaN would divide by zero or take
// the logarithm of a negative number; such ranges count as 1.
inline float usableTransformRange(float range) { return range > 0.0f ? range : 1.0f; }

// Values below the origin (a minimum tuned above the data) stay at the origin's image.
inline float lognTransform(float x, float origin, float range) {
  float d = x - origin;
  if (!(d > 0.0f)) d = 0.0f;
  return std::log(d * 97.0f / range + 3.0f);
}

inline float expTransform(float x, float origin, float range) {
  float d = x - origin;
  if (!(d > 0.0f)) d = 0.0f;
  return std::exp(d * 2.0f / range + 1.0f);
}

inline float applyTransform(Transform t, float x, float origin, float range) {
  switch (t) {
    case Transform::Logn: return lognTransform(x, origin, range);
    case Transform::Exp: return expTransform(x, origin, range);
    default: return x;
  }
}

// The value a sample without a value carries under a transform.
inline float missingTransformed(Transform t) {
  return t == Transform::Exp ? std::exp(1.0f) : 0.0f;
}

}  // namespace vlm
