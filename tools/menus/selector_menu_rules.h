#pragma once
// Check marks and greying of the Selector menus for one query row.
#include <cstdint>

#include "tools/menus/menu.h"

namespace vlm::tools {

// A Samples row lists at most this many distinct values.
constexpr int32_t kSamplesLimit = 100;

struct SelectorRowInfo {
  int32_t fieldType = 0;      // FieldType of the row's field
  int32_t distinctCount = 0;  // distinct values of the field
  bool samplesRow = false;    // the row uses the Samples method
  int32_t samplesMode = 1;    // 1 Single, 2 Multiple
};

// Whether a method (the Range Slider .. Substring command) suits the field:
// numbers and dates allow Range and Item, Samples up to 100 values, never
// Substring; texts and two-valued fields allow Item, Samples up to 100 values
// and Substring, never Range; sizes allow Range and Item only.
bool selectorMethodAllowed(int32_t command, int32_t fieldType, int32_t distinctCount);

// Greys the methods the field does not allow and "None" for all but Samples
// rows, and checks Single or Multiple on a Samples row.
void applySelectorRules(Menu& menu, const SelectorRowInfo& row);

}  // namespace vlm::tools
