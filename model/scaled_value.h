#pragma once
// An attribute's value in scene units: s(x) = 2 x scale x t, with t the data value x
// normalised against the display range (transform, straddling rule and MAP_INVERSE
// applied, no clamping). With scale 50 the output spans 0..100.
#include "model/association.h"

namespace vlm {

float normalisedUnclamped(const Association& pass, float x);
float scaledValue(const Association& pass, float x);
// The data value whose unclamped normalised value is t: normalisedUnclamped
// run backwards (MAP_INVERSE, the straddling rule, then the transform).
float valueOfNormalised(const Association& pass, float t);

}  // namespace vlm
