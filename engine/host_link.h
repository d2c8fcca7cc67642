#pragma once
// Host messages from the engine's threads to the host main window.
#include <cstdint>
#include <string>

namespace vlm {

struct EngineState;

bool postHost(EngineState& state, uint32_t message, uintptr_t wParam = 0, uintptr_t lParam = 0,
              std::string text = {}, int64_t extra = 0);
intptr_t sendHost(EngineState& state, uint32_t message, uintptr_t wParam = 0, uintptr_t lParam = 0);

// HM_HITS with the full counts: wParam rows, lParam source rows, extra selected.
bool postHits(EngineState& state);
bool postBusy(EngineState& state, bool busy);
bool postRefresh(EngineState& state);

}  // namespace vlm
