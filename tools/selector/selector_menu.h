#pragma once
// The Selector's popup menus (Selector, SEL_Samples, SEL_Items) for a row:
// the popup menus' tables with their checks and greying, shown through the
// one path every popup menu takes, the chosen command handed to the row.
// Runs on the host thread; it never waits for the data lock (the engine may
// hold it while the menu is open).
#include <cstdint>

#include "tools/menus/menu.h"

namespace vlm {
struct EngineState;
}

namespace vlm::selector {

struct RowView;

// SEL_Items for Item rows, SEL_Samples for Samples rows, Selector otherwise.
// Method items are enabled by what the field offers; a Samples row checks
// Single or Multiple; "None" is greyed on other rows.
tools::Menu selectorMenuFor(const RowView& row);

// vlm_ShowSelectorMenu: the menu of the field in the low 16 bits of
// `itemData`; the chosen command goes to the row as vlm_UpdateSelector does.
// Returns the command, 0 when none was chosen or the row is unknown.
int32_t showSelectorMenu(EngineState& state, uintptr_t itemData, uintptr_t listItem);

}  // namespace vlm::selector
