#pragma once
// The spreadsheet workspace's main window ("XLMAIN"): the active workbook's
// sheets as tabs over a grid of the active sheet, in which the user selects
// cells with the mouse. The selection made there is the one the workspace
// reports. Its work runs on the host thread; without a host the window
// functions answer false.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/workbook/sheet.h"

namespace vlm::platform::workbook {

// Makes the sheet view the workspace's main window.
void installSheetView();

// What the view shows (read on the host thread), for tests.
struct SheetViewInfo {
  bool exists = false;
  bool visible = false;
  std::string title;
  std::string sheet;
  std::vector<Area> selection;  // as selected in the grid
};
SheetViewInfo sheetViewInfo();

// Selects `area` in the grid as a user's mouse would (tests).
bool selectInSheetView(const Area& area);

}  // namespace vlm::platform::workbook
