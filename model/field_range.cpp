#include "model/field_range.h"

namespace vlm {
namespace {

float lastCategory(const DataField& f) {
  return f.distinctCount > 0 ? static_cast<float>(f.distinctCount - 1) : 0.0f;
}

// An integer range that never saw a value (min above max) is empty.
ValueRange integerRange(const DataField& f, ValueRange whenEmpty) {
  if (f.min.i > f.max.i) return whenEmpty;
  return {static_cast<float>(f.min.i), static_cast<float>(f.max.i)};
}

}  // namespace

ValueRange associationRange(const DataField* field, int32_t type, bool categorical) {
  if (field == nullptr) return {0.0f, 1.0f};
  if (categorical && hasCategoryList(*field)) return {0.0f, lastCategory(*field)};
  switch (type) {
    case FT_INTEGER: return {static_cast<float>(field->min.i), static_cast<float>(field->max.i)};
    case FT_REAL: return {field->min.f, field->max.f};
    case FT_TEXT:
    case FT_DATETIME:
    case FT_TEXT2: return {0.0f, lastCategory(*field)};
    case FT_BOOLEAN:
    case FT_FLAG: return {0.0f, 1.0f};
    case FT_SIZE: return integerRange(*field, {0.0f, 0.0f});
    default: return {0.0f, 1.0f};
  }
}

ValueRange fieldOwnRange(const DataField* field, int32_t type) {
  return associationRange(field, type, isCategoryType(type));
}

ValueRange colourFieldRange(const DataField* field, int32_t type) {
  if (field == nullptr) return {0.0f, 100.0f};
  switch (type) {
    case FT_REAL: return {field->min.f, field->max.f};
    case FT_TEXT:
    case FT_DATETIME:
    case FT_TEXT2: return {0.0f, lastCategory(*field)};
    case FT_BOOLEAN:
    case FT_FLAG: return {0.0f, 1.0f};
    default: return integerRange(*field, {0.0f, 100.0f});
  }
}

}  // namespace vlm
