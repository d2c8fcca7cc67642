// Exports of the Calculator. The window calls run on the host thread; the
// rows change under the data lock, at once or on the engine thread.
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "tools/calculator/calculator.h"
#include "tools/calculator/calculator_menu.h"
#include "tools/calculator/calculator_window.h"

using vlm::currentState;

VLM_API void vlm_OpenCalculator(void) {
  if (auto state = currentState()) vlm::calculator::openWindow(*state);
}

VLM_API void vlm_CloseCalculator(void) {
  if (auto state = currentState()) vlm::calculator::closeWindow(*state);
}

VLM_API int vlm_IsCalculatorOn(void) {
  auto state = currentState();
  return state && state->main->calculator.open.load() != 0 && vlm::calculator::windowWidget() ? 1 : 0;
}

VLM_API void vlm_CalculateNow(void) {
  if (auto state = currentState()) vlm::calculator::calculateNow(*state);
}

VLM_API void vlm_UpdateCalculator(int command, int row) {
  if (auto state = currentState()) vlm::calculator::updateCalculator(*state, command, row);
}

VLM_API void vlm_ShowCalculatorMenu(vlm_wparam row, vlm_lparam) {
  if (auto state = currentState())
    vlm::calculator::showCalculatorMenu(*state, static_cast<int32_t>(static_cast<intptr_t>(row)));
}
