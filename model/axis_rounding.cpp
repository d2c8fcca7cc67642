#include "model/axis_rounding.h"

#include <algorithm>
#include <cmath>

#include "model/space_settings_table.h"
#include "model/transforms.h"

namespace vlm {
namespace {

double roundHalfUp(double w) { return std::floor(w + 0.5); }

// Floor and ceiling of a quotient that should be whole but may miss by float error.
double wholeFloor(double q) { return std::floor(q + 1e-6 * std::max(1.0, std::fabs(q))); }
double wholeCeil(double q) { return std::ceil(q - 1e-6 * std::max(1.0, std::fabs(q))); }

void setTransformedDisplay(Association& a, float low, float high) {
  switch (transformOf(a.options)) {
    case Transform::Logn:
      a.displayMin = std::log(3.0f);
      a.displayMax = std::log(100.0f);
      break;
    case Transform::Exp:
      a.displayMin = std::exp(1.0f);
      a.displayMax = std::exp(3.0f);
      break;
    default:
      a.displayMin = low;
      a.displayMax = high;
      break;
  }
}

void copyDerived(const Association& from, Association& to) {
  to.displayMin = from.displayMin;
  to.displayMax = from.displayMax;
  to.transformOrigin = from.transformOrigin;
  to.transformRange = from.transformRange;
}

}  // namespace

void roundAxisRange(Association& a, int32_t density, AxisRecord& tick) {
  const float m = a.min;
  const float M = a.max;
  a.displayMin = m;
  a.displayMax = M;
  a.transformOrigin = m;
  a.transformRange = M - m;
  tick.low = m;
  tick.high = M;
  tick.step = 1.0f;
  tick.subdivision = 1;
  if (M == m) {
    a.transformRange = 1.0f;
    return;
  }
  tick.step = 0.0f;
  const int32_t d = std::clamp(density, 0, 100);
  if (d < 1 || !(M - m > 0.0f)) {
    // Unrounded, but a transformed axis still divides in transformed units.
    if (M - m > 0.0f) setTransformedDisplay(a, m, M);
    return;
  }

  double w = 2.0 * (static_cast<double>(M) - static_cast<double>(m)) / d;
  double v = roundHalfUp(w);
  int e = 0;
  for (int guard = 0; v > 5.0 && guard < 400; ++guard) {
    w *= 0.1;
    ++e;
    v = roundHalfUp(w);
  }
  for (int guard = 0; v < 1.0 && guard < 400; ++guard) {
    w *= 10.0;
    --e;
    v = roundHalfUp(w);
  }
  int32_t subdivision = 0;
  if (v == 3.0) {
    v = 25.0;
    --e;
    subdivision = 4;
  } else if (v == 4.0) {
    v = 5.0;
    subdivision = 2;
  }
  const double h = v * std::pow(10.0, e);
  const double low = wholeFloor(m / h) * h;
  const double high = wholeCeil(M / h) * h;

  tick.low = static_cast<float>(low);
  tick.high = static_cast<float>(high);
  tick.step = static_cast<float>(h);
  tick.subdivision = subdivision;
  a.transformOrigin = static_cast<float>(low);
  a.transformRange = static_cast<float>(high - low);
  setTransformedDisplay(a, tick.low, tick.high);
}

void roundAxisRanges(AssociationSet& set, SpaceSettings& space) {
  for (int32_t i = 0; i < set.count && i < kAttributeCount; ++i) {
    const int32_t attribute = attributeOf(set.saved[i]);
    if (!isAxisAttribute(attribute)) continue;
    const int32_t axis = attribute - ATTRIB_AXISX;
    roundAxisRange(set.saved[i], space.rows[densityRow(axis)].value, space.axes[axis]);
    copyDerived(set.saved[i], set.passes[i]);
  }
}

}  // namespace vlm
