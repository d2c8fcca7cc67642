#include "data/field_widen.h"

#include <algorithm>
#include <cfloat>

#include "data/field_analysis.h"
#include "data/char_tests.h"

namespace vlm {

bool integerTextOverflows(std::string_view text) {
  // Ten characters hold every int32; most cells are shorter.
  if (text.size() < 10) return false;
  int64_t value = 0;
  if (!scanInteger(stripToNumberChars(text), value)) return false;
  return value > INT32_MAX || value < INT32_MIN;
}

void widenToReal(DataField& field, int32_t rows) {
  if (field.type != FT_INTEGER) return;
  field.type = FT_REAL;
  resetFieldAnalysis(field);
  const size_t n = std::min(field.cells.size(), static_cast<size_t>(rows < 0 ? 0 : rows));
  for (size_t i = 0; i < n; ++i) {
    Cell& cell = field.cells[i];
    if (!(cell.flags & kCellPresent)) continue;
    const float f = static_cast<float>(cell.value.i);
    cell.value.f = f;
    if (f < field.min.f) field.min.f = f;
    if (f > field.max.f) field.max.f = f;
  }
  field.numberFormatClass = 1;
}

}  // namespace vlm
