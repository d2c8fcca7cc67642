// Exports of the Selector. The window calls run on the host thread; the
// menu commands travel to the engine thread with the window's edits.
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "tools/selector/selector_edits.h"
#include "tools/selector/selector_menu.h"
#include "tools/selector/selector_window.h"

using vlm::currentState;

VLM_API void vlm_OpenSelector(void) {
  if (auto state = currentState()) vlm::selector::openWindow(*state);
}

VLM_API void vlm_CloseSelector(void) {
  if (auto state = currentState()) vlm::selector::closeWindow(*state);
}

VLM_API int vlm_IsSelectorOn(void) {
  auto state = currentState();
  return state && state->main->selector.open.load() != 0 ? 1 : 0;
}

VLM_API int vlm_UpdateSelector(int command, int field, int) {
  auto state = currentState();
  if (!state) return 0;
  vlm::selector::Edit edit;
  edit.kind = vlm::selector::Edit::Kind::Menu;
  edit.field = field;
  edit.a = command;
  return vlm::selector::queueEdit(*state, std::move(edit));
}

VLM_API void vlm_PlaySlider(int field) {
  if (auto state = currentState()) vlm::selector::startPlay(*state, field);
}

VLM_API void vlm_ShowSelectorMenu(vlm_wparam item, vlm_lparam listItem) {
  if (auto state = currentState()) vlm::selector::showSelectorMenu(*state, item, listItem);
}
