#pragma once
// The spreadsheet workspace's automation side, as the loader drives it:
// start it, open a workbook and activate a sheet, read the active workbook's
// path, quit, the running check, showing its main window, and selecting a
// sample's source row there.
#include <cstdint>
#include <string>

namespace vlm {

struct EngineState;

// Starts the workspace when it does not run (then it was started by the
// engine) and makes it visible. False, after the failure message, when it
// cannot be reached.
bool startExcel(EngineState& state);
// Start, open `path` (the workspace reports a file it cannot read) and,
// with a sheet name, activate that sheet. True when the workbook is open.
bool openExcelWorkbook(EngineState& state, const std::string& path, const std::string& sheet);
void quitExcel(EngineState& state);
// Clears and sets the found-running flag; an invisible workspace is told to
// quit. Returns the flag.
bool checkExcelRunning(EngineState& state);
// The active workbook's full path (at most 4096 characters); empty without one.
std::string excelWorkbookPath();

// Shows the workspace (visible and under user control, once) and brings its
// main window to the front; without one, starts it.
void switchToExcel(EngineState& state);
// Selects sample `sample`'s source row on the sheet it came from, then shows
// the workspace. "Unable to jump to Excel at the %i. row.  " when it fails.
bool jumpToExcelRow(EngineState& state, int32_t sample);
// The command that selects row `row`.
std::string selectRowCommand(int32_t row);

// "Data Selection Correct?" with the hint to select a valid region; the
// first button shows the workspace.
void confirmDataSelection(EngineState& state);

std::string excelAutomationFailureText();

}  // namespace vlm
