#include "data/field_analysis.h"

#include <cfloat>
#include <climits>

#include "data/source_types.h"

namespace vlm {
namespace {

void setIntRange(IntOrFloat& low, IntOrFloat& high, int32_t lowValue, int32_t highValue) {
  low.i = lowValue;
  high.i = highValue;
}

}  // namespace

void resetFieldAnalysis(DataField& field) {
  switch (field.type) {
    case FT_NONE:
    case FT_INTEGER:
      setIntRange(field.min, field.max, INT32_MAX, INT32_MIN);
      setIntRange(field.selectorLow, field.selectorHigh, INT32_MAX, INT32_MIN);
      field.valueClass = 1;
      break;
    case FT_REAL:
      field.min.f = FLT_MAX;
      field.max.f = -FLT_MAX;
      field.selectorLow.f = FLT_MAX;
      field.selectorHigh.f = -FLT_MAX;
      field.valueClass = 1;
      break;
    case FT_BOOLEAN:
    case FT_FLAG:
    case FT_SIZE:
      setIntRange(field.min, field.max, INT32_MAX, INT32_MIN);
      setIntRange(field.selectorLow, field.selectorHigh, INT32_MAX, INT32_MIN);
      field.valueClass = 2;
      break;
    case FT_TEXT:
    case FT_DATETIME:
    case FT_TEXT2:
      setIntRange(field.min, field.max, INT32_MAX, INT32_MIN);
      setIntRange(field.selectorLow, field.selectorHigh, -6, -6);
      field.valueClass = 3;
      break;
    default:
      return;
  }
  field.workingValue = 2;
  field.selectorText[0] = '\0';
  field.selectorWord = 0;
  field.selector = SelectorQuery{};
  for (int32_t& index : field.workingIndex) index = -1;
  field.workingFlag &= static_cast<uint8_t>(~1u);
}

void applyAnalysisClass(DataField& field) {
  field.type = fieldTypeFromSourceCode(DSK_NONE, field.analysisClass);
  resetFieldAnalysis(field);
}

}  // namespace vlm
