#include "tools/selector/selector_menu.h"

#include <QCursor>
#include <QMenu>

#include <mutex>

#include "engine/engine_state.h"
#include "platform/host_bridge.h"
#include "tools/selector/selector_edits.h"
#include "tools/selector/selector_rules.h"
#include "tools/selector/selector_view.h"
#include "tools/selector/selector_window.h"

namespace vlm::selector {
namespace {

std::mutex g_chooserMutex;
MenuChooser g_chooser;

void addMethods(std::vector<MenuItem>& items, const RowView& row) {
  items.push_back({kCommandRange, "Range Slider", row.allowed[kRangeSlider], false});
  items.push_back({kCommandItem, "Item Slider", row.allowed[kItemSlider], false});
  items.push_back({kCommandSamples, "Samples", row.allowed[kSamples], false});
  items.push_back({kCommandSubstring, "Substring", row.allowed[kSubstring], false});
  items.push_back({});
  items.push_back({kCommandAll, "All", true, false});
  items.push_back({kCommandNone, "None", row.method == kSamples, false});
}

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

std::vector<MenuItem> selectorMenuFor(const RowView& row) {
  std::vector<MenuItem> items;
  addMethods(items, row);
  if (row.method == kSamples) {
    items.push_back({});
    items.push_back({kCommandSingle, "Single", true, row.samplesMode == kSingle});
    items.push_back({kCommandMultiple, "Multiple", true, row.samplesMode != kSingle});
  } else if (row.method == kItemSlider) {
    items.push_back({});
    items.push_back({kCommandPlay, "Play Slider", true, false});
  }
  return items;
}

int32_t trackMenu(const std::vector<MenuItem>& items) {
  MenuChooser chooser;
  {
    std::lock_guard lock(g_chooserMutex);
    chooser = g_chooser;
  }
  if (chooser) return chooser(items);
  QMenu menu;
  menu.setObjectName(QStringLiteral("selectorMenu"));
  for (const MenuItem& item : items) {
    if (item.id == 0) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(QString::fromUtf8(item.text));
    action->setData(item.id);
    action->setEnabled(item.enabled);
    action->setCheckable(item.checked);
    action->setChecked(item.checked);
  }
  QAction* chosen = menu.exec(QCursor::pos());
  return chosen ? chosen->data().toInt() : 0;
}

MenuChooser setMenuChooser(MenuChooser chooser) {
  std::lock_guard lock(g_chooserMutex);
  MenuChooser previous = std::move(g_chooser);
  g_chooser = std::move(chooser);
  return previous;
}

int32_t showSelectorMenu(EngineState& state, uintptr_t itemData, uintptr_t listItem) {
  platform::HostBridge& bridge = platform::HostBridge::instance();
  if (!bridge.isHostThread() && bridge.hostWindow())
    return static_cast<int32_t>(
        bridge.runOnHost([&state, itemData, listItem] { return intptr_t{showSelectorMenu(state, itemData, listItem)}; }));
  const auto field = static_cast<int32_t>(itemData & 0xFFFF);
  RowView row;
  if (!rowFor(state, field, row)) return 0;
  const int32_t command = trackMenu(selectorMenuFor(row));
  if (command == 0) return 0;
  // A greyed item cannot be chosen; a chooser standing in for the menu may try.
  for (const MenuItem& item : selectorMenuFor(row))
    if (item.id == command && !item.enabled) return 0;
  Edit edit;
  edit.kind = Edit::Kind::Menu;
  edit.field = field;
  edit.a = command;
  queueEdit(state, edit);
  return command;
}

}  // namespace vlm::selector
