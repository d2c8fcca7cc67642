#pragma once
// The Selector's popup menus (Selector, SEL_Samples, SEL_Items) as tables,
// with their checks and greying, and the path that shows one for a row and
// hands the chosen command to the row. Runs on the host thread; it never
// waits for the data lock (the engine may hold it while the menu is open).
#include <cstdint>
#include <functional>
#include <vector>

namespace vlm {
struct EngineState;
}

namespace vlm::selector {

struct RowView;

struct MenuItem {
  int32_t id = 0;  // 0 for a separator
  const char* text = "";
  bool enabled = true;
  bool checked = false;
};

// SEL_Items for Item rows, SEL_Samples for Samples rows, Selector otherwise.
// Method items are enabled by what the field offers; a Samples row checks
// Single or Multiple; "None" is greyed on other rows.
std::vector<MenuItem> selectorMenuFor(const RowView& row);

// Shows the items at the pointer and returns the chosen id (0 when dismissed).
int32_t trackMenu(const std::vector<MenuItem>& items);

// Stands in for the shown menu (tests choose an item); returns the previous one.
using MenuChooser = std::function<int32_t(const std::vector<MenuItem>& items)>;
MenuChooser setMenuChooser(MenuChooser chooser);

// vlm_ShowSelectorMenu: the menu of the field in the low 16 bits of
// `itemData`; the chosen command goes to the row as vlm_UpdateSelector does.
// Returns the command, 0 when none was chosen or the row is unknown.
int32_t showSelectorMenu(EngineState& state, uintptr_t itemData, uintptr_t listItem);

}  // namespace vlm::selector
