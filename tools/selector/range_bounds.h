#pragma once
// The bounds of a Range Slider row: the field's least and greatest value, the
// query's low and high bound, and their conversions to and from plain numbers
// (for the slider's pixels and the Edit Selection box).
//
// Integer fields compare the value, real fields the float, size fields the
// size in bytes. Date/time fields compare the index of the value's entry in
// the sorted distinct-value list, so that a range holds the dates between its
// ends (the time table's own indexes follow the order the dates were first met).
#include <cstdint>

#include "data/data_table.h"

namespace vlm::selector {

struct RangeLimits {
  double least = 0.0;
  double greatest = 0.0;
  bool any = false;  // false when no sample has a value
};

RangeLimits rangeLimits(const DataField& field);

// The low and high bound as numbers.
double rangeLow(const DataField& field);
double rangeHigh(const DataField& field);

// Stores a bound: integers and entry indexes truncated, every bound clamped
// to the field's least and greatest value.
void setRangeLow(DataField& field, double value);
void setRangeHigh(DataField& field, double value);
// Both bounds at the field's least and greatest value.
void setFullRange(DataField& field);
// The bounds hold every value: every sample passes, with or without a value.
bool rangeIsFull(const DataField& field);

// Recomputes the least and greatest value of an integer, real or size field
// from the samples that have a value (rows may have been deleted since the load).
void recomputeLimits(DataField& field, int32_t rowCount);

// Whether the field's bounds are whole numbers (everything but reals).
inline bool rangeIsIntegral(const DataField& field) { return field.type != FT_REAL; }

}  // namespace vlm::selector
