#include "tools/selector/range_bounds.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

#include "tools/selector/selector_rules.h"

namespace vlm::selector {
namespace {

double boundValue(const DataField& field, const IntOrFloat& bound) {
  return field.type == FT_REAL ? static_cast<double>(bound.f) : static_cast<double>(bound.i);
}

void storeBound(DataField& field, IntOrFloat& bound, double value) {
  const RangeLimits limits = rangeLimits(field);
  if (limits.any) value = std::clamp(value, limits.least, limits.greatest);
  if (field.type == FT_REAL) {
    bound.f = static_cast<float>(value);
  } else {
    // Whole numbers truncate toward zero; the clamp keeps them inside int32.
    const double whole = std::trunc(std::clamp(value, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
    bound.i = static_cast<int32_t>(whole);
  }
}

}  // namespace

RangeLimits rangeLimits(const DataField& field) {
  RangeLimits limits;
  if (rangeOnEntries(field)) {
    const int32_t values = valueEntryCount(field);
    limits.any = values > 0;
    limits.greatest = values > 0 ? values - 1 : 0;
    return limits;
  }
  if (field.type == FT_REAL) {
    limits.any = field.min.f <= field.max.f;
    limits.least = field.min.f;
    limits.greatest = field.max.f;
  } else {
    limits.any = field.min.i <= field.max.i;
    limits.least = field.min.i;
    limits.greatest = field.max.i;
  }
  if (!limits.any) limits.least = limits.greatest = 0.0;
  return limits;
}

double rangeLow(const DataField& field) { return boundValue(field, field.selectorLow); }
double rangeHigh(const DataField& field) { return boundValue(field, field.selectorHigh); }

void setRangeLow(DataField& field, double value) { storeBound(field, field.selectorLow, value); }
void setRangeHigh(DataField& field, double value) { storeBound(field, field.selectorHigh, value); }

void setFullRange(DataField& field) {
  const RangeLimits limits = rangeLimits(field);
  setRangeLow(field, limits.least);
  setRangeHigh(field, limits.greatest);
}

bool rangeIsFull(const DataField& field) {
  const RangeLimits limits = rangeLimits(field);
  if (!limits.any) return true;
  return rangeLow(field) <= limits.least && rangeHigh(field) >= limits.greatest;
}

void recomputeLimits(DataField& field, int32_t rowCount) {
  if (rangeOnEntries(field)) return;
  const size_t rows = std::min(field.cells.size(), static_cast<size_t>(std::max(rowCount, 0)));
  if (field.type == FT_REAL) {
    float least = FLT_MAX, greatest = -FLT_MAX;
    for (size_t s = 0; s < rows; ++s) {
      const Cell& c = field.cells[s];
      if (!(c.flags & kCellPresent)) continue;
      least = std::min(least, c.value.f);
      greatest = std::max(greatest, c.value.f);
    }
    field.min.f = least;
    field.max.f = greatest;
    return;
  }
  if (field.type != FT_INTEGER && field.type != FT_SIZE) return;
  int32_t least = INT32_MAX, greatest = INT32_MIN;
  for (size_t s = 0; s < rows; ++s) {
    const Cell& c = field.cells[s];
    if (!(c.flags & kCellPresent)) continue;
    const int32_t v = field.type == FT_SIZE ? sizeBytesOf(field, c) : c.value.i;
    least = std::min(least, v);
    greatest = std::max(greatest, v);
  }
  field.min.i = least;
  field.max.i = greatest;
}

}  // namespace vlm::selector
