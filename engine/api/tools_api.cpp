// Exports of the tools family: the popup menus, the Grid, Setup Options and help.
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "tools/grid/grid_window.h"
#include "tools/help/help_topics.h"
#include "tools/menus/floating_menu.h"
#include "tools/menus/menu_tables.h"
#include "tools/menus/menu_tracker.h"
#include "tools/host_widget.h"
#include "tools/setup/setup_window.h"

using vlm::currentState;

VLM_API int vlm_ShowFloatingMenu(vlm_wparam name) {
  auto state = currentState();
  if (!state) return 0;
  return vlm::tools::showFloatingMenu(*state, static_cast<int32_t>(static_cast<uint32_t>(name)));
}

VLM_API int vlm_ShowGridMenu(vlm_wparam row, vlm_lparam) {
  auto state = currentState();
  if (!state || row >= static_cast<vlm_wparam>(vlm::kSpaceSettingCount)) return 0;
  const vlm::tools::Menu menu = vlm::tools::resourceMenu(vlm::tools::ResourceMenu::Grid);
  return vlm::tools::trackMenu(menu, vlm::tools::hostWidget(*state));
}

VLM_API void vlm_OpenGrid(void) {
  if (auto state = currentState()) vlm::tools::openGrid(*state);
}

VLM_API void vlm_CloseGrid(void) {
  if (auto state = currentState()) vlm::tools::closeGrid(*state);
}

VLM_API int vlm_IsGridOn(void) {
  auto state = currentState();
  return state && vlm::tools::isGridOn(*state) ? 1 : 0;
}

VLM_API void vlm_OpenSetup(void) {
  if (auto state = currentState()) vlm::tools::openSetup(*state);
}

VLM_API void vlm_CloseSetup(void) {
  if (auto state = currentState()) vlm::tools::closeSetup(*state);
}

VLM_API void vlm_Help(int topic) {
  if (auto state = currentState()) vlm::tools::showHelp(*state, topic);
}
