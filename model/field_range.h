#pragma once
// The value ranges that associations, the colour model and tuning take from a field,
// and the numeric value of one sample.
//
// Fields of types that carry no min/max of their own get these ranges:
//   FT_BOOLEAN, FT_FLAG  0..1, the sample value is 1 for a nonzero cell, else 0;
//   FT_SIZE              the field's min..max, which the loader keeps in bytes, and
//                        the sample value is the byte size (the cell's second word);
//   FT_TEXT, FT_DATETIME, FT_TEXT2 with the categorical flag cleared
//                        0..(distinct count - 1) with the category index as value,
//                        so they map like a number (missing samples give 0).
// A categorical association of a field without a distinct-value list (booleans,
// flags, sizes) maps its numeric value over the range above.
#include <cstdint>

#include "data/data_table.h"

namespace vlm {

struct ValueRange {
  float low = 0.0f;
  float high = 1.0f;
};

inline bool isCategoryType(int32_t type) {
  return type == FT_TEXT || type == FT_DATETIME || type == FT_TEXT2;
}
inline bool hasCategoryList(const DataField& f) { return f.distinctCount > 0; }

// Range of an association made for `field` (null: no field, 0..1).
ValueRange associationRange(const DataField* field, int32_t fieldType, bool categorical);
// F..G of the tuning handles: the field's own range (categories for the text and
// date/time types).
ValueRange fieldOwnRange(const DataField* field, int32_t fieldType);
// Range the colour model places its entries in (null: no field, 0..100; a type with
// no range of its own also 0..100).
ValueRange colourFieldRange(const DataField* field, int32_t fieldType);

// Truncates towards zero and saturates, so far-off floats never overflow.
inline int32_t truncToInt32(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483520.0f) return 2147483647;
  if (v <= -2147483648.0f) return -2147483647 - 1;
  return static_cast<int32_t>(v);
}

// The numeric value of a present cell of the field for the non-categorical mapping.
inline float numericCellValue(const DataField& field, int32_t type, const Cell& c) {
  switch (type) {
    case FT_INTEGER: return static_cast<float>(c.value.i);
    case FT_REAL: return c.value.f;
    case FT_SIZE: return static_cast<float>(sizeBytesOf(field, c));
    case FT_BOOLEAN:
    case FT_FLAG: return c.value.i != 0 ? 1.0f : 0.0f;
    default: return static_cast<float>(c.engineWord);  // category index
  }
}

// True and the value when the sample has one for this mapping.
inline bool sampleValue(const DataField& field, int32_t type, bool byCategory, const Cell& c, float& x) {
  if ((c.flags & kCellPresent) == 0) return false;
  if (byCategory || isCategoryType(type)) {
    if (c.engineWord < 0) return false;
    x = static_cast<float>(c.engineWord);
    return true;
  }
  x = numericCellValue(field, type, c);
  return true;
}

}  // namespace vlm
