#include "sources/excel/excel_connection.h"

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/worker_thread.h"
#include "platform/report.h"
#include "platform/workbook/sheet_view.h"
#include "sources/connection_request.h"
#include "sources/excel/excel_automation.h"
#include "sources/excel/excel_loader.h"
#include "sources/load_finish.h"
#include "sources/source_record.h"

namespace vlm {
namespace {

constexpr const char* kNoWorkbookOpenText =
    "No workbook is open in the Spreadsheet Workspace.\nThe table loaded before stays as it was.";
constexpr const char* kWorkspaceUnreachableText =
    "The Spreadsheet Workspace does not answer.\nThe table loaded before stays as it was.";

// The text of CMD_EXCEL_OPEN: the file name, a NUL, the sheet name.
std::pair<std::string, std::string> splitOpenText(const std::string& text) {
  const size_t nul = text.find('\0');
  if (nul == std::string::npos) return {text, {}};
  return {text.substr(0, nul), text.substr(nul + 1)};
}

bool onExcelStart(EngineState& state, const platform::Command&) {
  startExcel(state);
  return true;
}

bool onExcelOpen(EngineState& state, const platform::Command& command) {
  const auto [path, sheet] = splitOpenText(command.text);
  openWorkbookFile(state, path, sheet);
  return true;
}

bool onExcelQuit(EngineState& state, const platform::Command&) {
  quitExcel(state);
  return true;
}

bool onCheckExcel(EngineState& state, const platform::Command&) {
  checkExcelRunning(state);
  return true;
}

bool onJumpExcel(EngineState& state, const platform::Command& command) {
  jumpToExcelRow(state, static_cast<int32_t>(static_cast<intptr_t>(command.wParam)));
  return true;
}

bool onSwitchExcel(EngineState& state, const platform::Command&) {
  switchToExcel(state);
  return true;
}

bool onConfirmDataSelection(EngineState& state, const platform::Command&) {
  confirmDataSelection(state);
  return true;
}

}  // namespace

void connectAndLoadExcel(EngineState& state) {
  MainRecord& m = *state.main;
  int32_t result = connectExcel(state, false);
  if (result == kExcelLoaded) {
    result = connectExcel(state, true);
    if (result == kExcelLoaded) {
      const std::string path = excelWorkbookPath();
      platform::DataLockGuard guard(m.dataLock);
      state.data->sourcePath = path;
      publishSource(state);
    }
  }
  if (result == kExcelLoaded && state.data->rowCount == 0) result = kExcelNoData;
  m.loadControl.connectionResult = result;
  switch (result) {
    case kExcelCancelled:
      postBusy(state, false);
      break;
    case kExcelNoHeader:
      postBusy(state, false);
      postData(state, CMD_CONFIRM_DATA_SELECTION);
      break;
    case kExcelUnreachable:
    case kExcelNoData:
      endNothingLoaded(state);
      break;
    default:
      endLoaded(state);
      break;
  }
}

bool keepTableWithoutSelection(EngineState& state) {
  {
    platform::DataLockGuard guard(state.main->dataLock);
    if (state.data->rowCount <= 0 || state.data->fieldCount <= 0) return false;
  }
  const int32_t result = askExcelForSelection();
  if (result == kExcelLoaded) return false;
  state.main->loadControl.connectionResult = result;
  postBusy(state, false);
  platform::reportError(result == kExcelNoData ? kNoWorkbookOpenText : kWorkspaceUnreachableText);
  return true;
}

bool openWorkbookFile(EngineState& state, const std::string& path, const std::string& sheet) {
  if (!openExcelWorkbook(state, path, sheet)) return false;
  postHost(state, HM_RECENT_FILE, 0, 0, path);
  runConnectionRequest(state, 1);
  return true;
}

void registerExcelHandlers() {
  HandlerTable& t = dataHandlers();
  t.set(CMD_EXCEL_START, &onExcelStart);
  t.set(CMD_EXCEL_OPEN, &onExcelOpen);
  t.set(CMD_EXCEL_QUIT, &onExcelQuit);
  t.set(CMD_CHECK_EXCEL, &onCheckExcel);
  t.set(CMD_JUMP_EXCEL, &onJumpExcel);
  t.set(CMD_SWITCH_EXCEL, &onSwitchExcel);
  t.set(CMD_CONFIRM_DATA_SELECTION, &onConfirmDataSelection);
  platform::workbook::installSheetView();
}

}  // namespace vlm
