// The spreadsheet workspace exports: each posts to the data thread, apart
// from the running check.
#include <string>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "sources/excel/excel_automation.h"

namespace vlm {
namespace {

constexpr size_t kNameLimit = 4095;

int post(int32_t number, uintptr_t wParam = 0, std::string text = {}) {
  auto state = currentState();
  if (!state) return 0;
  return postData(*state, number, wParam, 0, std::move(text)) ? 1 : 0;
}

std::string limited(const char* text) {
  std::string out(text ? text : "");
  if (out.size() > kNameLimit) out.resize(kNameLimit);
  return out;
}

}  // namespace
}  // namespace vlm

using namespace vlm;

VLM_API int vlm_ExcelStart(void) { return post(CMD_EXCEL_START); }

VLM_API int vlm_ExcelOpen(const char* fileName, const char* sheetName) {
  if (!fileName) return 0;
  // The file name and the sheet name travel in one text, a NUL between them.
  std::string text = limited(fileName);
  text.push_back('\0');
  text += limited(sheetName);
  return post(CMD_EXCEL_OPEN, 0, std::move(text));
}

VLM_API int vlm_ExcelQuit(void) { return post(CMD_EXCEL_QUIT); }

VLM_API int vlm_IsExcelRunning(void) {
  auto state = currentState();
  return state && checkExcelRunning(*state) ? 1 : 0;
}

VLM_API int vlm_JumpExcel(int sample) {
  return post(CMD_JUMP_EXCEL, static_cast<uintptr_t>(static_cast<intptr_t>(sample)));
}

VLM_API int vlm_SwitchExcel(void) { return post(CMD_SWITCH_EXCEL); }
