#pragma once
// The Selector's part of a model file: its method per field position.
#include <cstdint>
#include <vector>

namespace vlm {

struct EngineState;

// Under the data lock: the method of every field's row, by position.
std::vector<int32_t> selectorMethodsLocked(EngineState& state);
// Under the data lock: the rows made anew with the methods read, field by
// field, then the selection computed again.
void applySelectorMethodsLocked(EngineState& state, const std::vector<int32_t>& methods);

}  // namespace vlm
