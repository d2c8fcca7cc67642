#include "tools/selector/selector_menu.h"

#include "engine/engine_state.h"
#include "platform/host_bridge.h"
#include "tools/host_widget.h"
#include "tools/menus/menu_tables.h"
#include "tools/menus/menu_tracker.h"
#include "tools/menus/selector_menu_rules.h"
#include "tools/selector/selector_edits.h"
#include "tools/selector/selector_rules.h"
#include "tools/selector/selector_view.h"
#include "tools/selector/selector_window.h"

namespace vlm::selector {
namespace {

// The row as the window shows it; without a window, as the table holds it
// when the lock is free at once (a menu never waits for it).
bool rowFor(EngineState& state, int32_t field, RowView& row) {
  if (const RowView* shown = shownRow(field)) {
    row = *shown;
    return true;
  }
  platform::DataLock& lock = state.main->dataLock;
  if (!lock.tryAcquire()) return false;
  const bool inside = field >= 0 && field < state.data->fieldCount && field < kMaxFields;
  if (inside) row = rowView(state, field);
  lock.release();
  return inside;
}

}  // namespace

tools::Menu selectorMenuFor(const RowView& row) {
  using tools::ResourceMenu;
  const ResourceMenu which = row.method == kItemSlider ? ResourceMenu::SelectorItems
                             : row.method == kSamples  ? ResourceMenu::SelectorSamples
                                                       : ResourceMenu::Selector;
  tools::Menu menu = tools::resourceMenu(which);
  tools::applySelectorRules(menu, {row.type, row.valueCount, row.method == kSamples, row.samplesMode});
  // A field without a distinct-value list (booleans, sizes, a list that could
  // not be made) has no values to slide over or to list.
  for (int32_t m = kRangeSlider; m <= kSubstring; ++m)
    if (!row.allowed[m]) tools::setEnabled(menu, methodCommand(m), false);
  return menu;
}

int32_t showSelectorMenu(EngineState& state, uintptr_t itemData, uintptr_t listItem) {
  platform::HostBridge& bridge = platform::HostBridge::instance();
  if (!bridge.isHostThread() && bridge.hostWindow())
    return static_cast<int32_t>(
        bridge.runOnHost([&state, itemData, listItem] { return intptr_t{showSelectorMenu(state, itemData, listItem)}; }));
  const auto field = static_cast<int32_t>(itemData & 0xFFFF);
  RowView row;
  if (!rowFor(state, field, row)) return 0;
  QWidget* owner = windowWidget();
  // A greyed item counts as no choice.
  const int32_t command = tools::trackMenu(selectorMenuFor(row), owner ? owner : tools::hostWidget(state));
  if (command == 0) return 0;
  Edit edit;
  edit.kind = Edit::Kind::Menu;
  edit.field = field;
  edit.a = command;
  queueEdit(state, edit);
  return command;
}

}  // namespace vlm::selector
