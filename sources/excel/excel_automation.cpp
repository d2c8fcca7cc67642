#include "sources/excel/excel_automation.h"

#include <cstdio>

#include "engine/engine_state.h"
#include "platform/dde/conversation.h"
#include "platform/message_box.h"
#include "platform/report.h"
#include "platform/workbook/excel_workspace.h"
#include "sources/excel/excel_session.h"

namespace vlm {
namespace {

using platform::workbook::ExcelWorkspace;

constexpr size_t kPathLimit = 4096;

}  // namespace

std::string excelAutomationFailureText() {
  return "EXCEL CONNECTION NOT INITIALIZED!  \n\nExcel Application is not available.\n"
         "Please consult the documentation, or \nask the support of your Velmora supplier.\n";
}

bool startExcel(EngineState& state) {
  ExcelWorkspace& w = ExcelWorkspace::instance();
  if (w.start()) excelSession(state).startedByEngine = true;
  if (!w.running()) {
    platform::reportError(excelAutomationFailureText().c_str());
    return false;
  }
  w.setVisible(true);
  return true;
}

bool openExcelWorkbook(EngineState& state, const std::string& path, const std::string& sheet) {
  if (!startExcel(state)) return false;
  ExcelWorkspace& w = ExcelWorkspace::instance();
  if (!w.openWorkbook(path)) return false;
  if (!sheet.empty() && !w.activateSheet(sheet)) {
    w.report("The workbook " + path + " has no sheet \"" + sheet + "\".");
  }
  return true;
}

void quitExcel(EngineState& state) {
  ExcelWorkspace::instance().quit();
  excelSession(state).shown = false;
}

bool checkExcelRunning(EngineState& state) {
  ExcelSession& s = excelSession(state);
  ExcelWorkspace& w = ExcelWorkspace::instance();
  s.foundRunning = false;
  if (!w.running()) return false;
  s.foundRunning = true;
  if (!w.visible()) {
    w.quit();
    s.foundRunning = false;
  }
  return s.foundRunning;
}

std::string excelWorkbookPath() {
  std::string path = ExcelWorkspace::instance().activeWorkbookFullName();
  if (path.size() > kPathLimit) path.resize(kPathLimit);
  return path;
}

void switchToExcel(EngineState& state) {
  ExcelSession& s = excelSession(state);
  ExcelWorkspace& w = ExcelWorkspace::instance();
  if (!s.shown && w.running()) {
    w.setVisible(true);
    w.setUserControl(true);
    s.shown = true;
  }
  if (w.hasMainWindow() && w.bringToFront()) return;
  if (startExcel(state)) w.bringToFront();
}

std::string selectRowCommand(int32_t row) {
  char text[64];
  std::snprintf(text, sizeof text, "[select(\"r%03i\")]", row);
  return text;
}

bool jumpToExcelRow(EngineState& state, int32_t sample) {
  std::string topic;
  int32_t row = -1;
  {
    platform::DataLockGuard guard(state.main->dataLock);
    const DataTable& t = *state.data;
    if (t.sourceKind == DSK_EXCEL && sample >= 0 && sample < t.rowCount && static_cast<size_t>(sample) < t.rowIds.size())
      row = t.rowIds[static_cast<size_t>(sample)];
    topic = "[" + t.sourceName + "]" + t.excelSelection;
  }
  if (row < 1) return false;
  auto c = platform::dde::Conversation::connect(kExcelService, topic);
  if (!c || !c.execute(selectRowCommand(row))) {
    platform::reportError(("Unable to jump to Excel at the " + std::to_string(row) + ". row.  ").c_str());
    return false;
  }
  switchToExcel(state);
  return true;
}

void confirmDataSelection(EngineState& state) {
  platform::MessageBoxRequest box;
  box.caption = "Velmora";
  box.text = "Data Selection Correct?\n\nPlease select a valid data region.\n\n";
  box.icon = platform::BoxIcon::Question;
  box.buttons = platform::BoxButtons::OkCancel;
  if (platform::showMessageBox(box) == platform::BOX_OK) switchToExcel(state);
}

}  // namespace vlm
