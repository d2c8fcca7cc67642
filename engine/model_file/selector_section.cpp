#include "engine/model_file/selector_section.h"

#include <algorithm>

#include "engine/engine_state.h"
#include "tools/selector/selection_compute.h"
#include "tools/selector/selector_rows.h"

namespace vlm {

std::vector<int32_t> selectorMethodsLocked(EngineState& state) {
  const DataTable& table = *state.data;
  std::vector<int32_t> methods(static_cast<size_t>(std::max(table.fieldCount, 0)), 0);
  for (size_t i = 0; i < methods.size(); ++i) methods[i] = selector::rowMethod(table, static_cast<int32_t>(i));
  return methods;
}

void applySelectorMethodsLocked(EngineState& state, const std::vector<int32_t>& methods) {
  selector::clearRowsLocked(state);
  for (int32_t method : methods)
    if (!selector::addRowLocked(state, method)) break;
  selector::computeSelectionLocked(state, true);
}

}  // namespace vlm
