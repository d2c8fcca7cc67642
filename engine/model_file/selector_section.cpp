#include "engine/model_file/selector_section.h"

#include <algorithm>

#include "engine/engine_state.h"

namespace vlm {

// The Selector keeps no query rows in this build: every field has none.
std::vector<int32_t> selectorMethodsLocked(EngineState& state) {
  return std::vector<int32_t>(static_cast<size_t>(std::max(state.data->fieldCount, 0)), 0);
}

void applySelectorMethodsLocked(EngineState&, const std::vector<int32_t>&) {}

}  // namespace vlm
