#include "tools/selector/selection_load.h"

#include <memory>
#include <string>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/worker_thread.h"
#include "platform/message_box.h"
#include "platform/workspace/workspace.h"
#include "tools/selector/server_filter.h"

namespace vlm::selector {
namespace {

constexpr const char* kCaption = "Load Selection Only";

void tell(const std::string& text) {
  platform::MessageBoxRequest box;
  box.caption = kCaption;
  box.text = text;
  box.icon = platform::BoxIcon::Information;
  platform::showMessageBox(box);
}

std::string quotedList(const std::vector<std::string>& names) {
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i) out += i + 1 == names.size() ? " and " : ", ";
    out += "\"" + names[i] + "\"";
  }
  return out;
}

}  // namespace

bool onLoadSelectionOnly(EngineState& state, const platform::Command&) {
  MainRecord& m = *state.main;
  auto& workspace = platform::workspace::Workspace::instance();
  SelectionFilter selection;
  int32_t object = -1;
  std::string objectName;
  bool fromDatabase = false;
  {
    platform::DataLockGuard guard(m.dataLock);
    const DataTable& table = *state.data;
    object = table.currentAccessObject;
    fromDatabase = table.sourceKind == DSK_ACCESS && object >= 0 &&
                   static_cast<size_t>(object) < table.accessObjects.size() && table.rowCount > 0 &&
                   !table.sourcePath.empty() && table.sourcePath == workspace.currentPath();
    if (fromDatabase) {
      objectName = table.accessObjects[static_cast<size_t>(object)].name;
      const bool same = m.loadedFilterObject == objectName;
      selection = selectionFilterLocked(table, same ? m.loadedFilter.get() : nullptr);
    }
  }
  if (!fromDatabase) {
    tell("Only a table or query of an open database can be read again with the selection only.\n\n"
         "Open a database table from File > Open, narrow it with the Selector, and choose Load Selection Only.");
    return true;
  }
  if (!workspace.filtersRows()) {
    tell("This database cannot pick the selected rows itself, so reading only the selection would still read "
         "every row.\n\nUse Load to read the table again, or open it on a database server.");
    return true;
  }
  if (!selection.leftOut.empty()) {
    tell("The database can run Range rows on numbers and dates and Substring rows on texts only; the rows of " +
         quotedList(selection.leftOut) +
         " narrow the data in another way.\n\nSet those rows to All, or use Load to read every row.");
    return true;
  }
  const size_t before = m.loadedFilterObject == objectName && m.loadedFilter ? m.loadedFilter->conditions.size() : 0;
  if (selection.filter.conditions.size() == before) {
    tell("The Selector's rows select every row of \"" + objectName + "\": there is nothing to leave out.");
    return true;
  }
  m.nextLoadFilter = std::make_shared<const platform::db::RowFilter>(std::move(selection.filter));
  m.pendingWithControl = 0;
  postData(state, CMD_LOAD, static_cast<uintptr_t>(object), kLoadNewRows);
  return true;
}

}  // namespace vlm::selector
