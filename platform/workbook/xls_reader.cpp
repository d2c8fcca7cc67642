// The older binary workbooks (BIFF, .xls) through FreeXL. FreeXL gives
// neither the saved selection nor the active sheet, so the first sheet is
// active with its first cell selected.
#include <freexl.h>

#include "platform/workbook/number_format.h"
#include "platform/workbook/workbook_file.h"

namespace vlm::platform::workbook {
namespace {

std::string freexlError(int code) {
  switch (code) {
    case FREEXL_FILE_NOT_FOUND: return "the file is not found";
    case FREEXL_INSUFFICIENT_MEMORY: return "there is not enough memory";
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER: return "its texts are in a character set that cannot be read";
    case FREEXL_CFBF_EMPTY_FAT_CHAIN:
    case FREEXL_CFBF_ILLEGAL_FAT_ENTRY:
    case FREEXL_CFBF_INVALID_SECTOR_SIZE:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_CFBF_READ_ERROR:
    case FREEXL_CFBF_SEEK_ERROR:
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_BIFF_INVALID_BOF:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND: return "it is no binary workbook or it is damaged";
    default: return "it is damaged (FreeXL error " + std::to_string(code) + ")";
  }
}

struct Handle {
  const void* h = nullptr;
  ~Handle() {
    if (h) freexl_close(h);
  }
};

}  // namespace

bool readXls(const std::string& path, ReadBudget& budget, Workbook& out, std::string& error) {
  Handle handle;
  int rc = freexl_open(path.c_str(), &handle.h);
  if (rc != FREEXL_OK) {
    error = freexlError(rc);
    return false;
  }
  unsigned int sheets = 0;
  if ((rc = freexl_get_info(handle.h, FREEXL_BIFF_SHEET_COUNT, &sheets)) != FREEXL_OK) {
    error = freexlError(rc);
    return false;
  }
  if (sheets > budget.limits().sheets) {
    error = "it has more than " + std::to_string(budget.limits().sheets) + " sheets";
    return false;
  }
  for (unsigned short index = 0; index < sheets; ++index) {
    Sheet& sheet = out.sheets.emplace_back();
    const char* name = nullptr;
    if (freexl_get_worksheet_name(handle.h, index, &name) == FREEXL_OK && name) sheet.name = name;
    unsigned int rows = 0;
    unsigned short columns = 0;
    if ((rc = freexl_select_active_worksheet(handle.h, index)) != FREEXL_OK ||
        (rc = freexl_worksheet_dimensions(handle.h, &rows, &columns)) != FREEXL_OK) {
      error = freexlError(rc);
      return false;
    }
    for (unsigned int r = 0; r < rows && r < static_cast<unsigned>(kSheetRows); ++r) {
      for (unsigned short c = 0; c < columns && c < kSheetColumns; ++c) {
        FreeXL_CellValue value;
        if (freexl_get_cell_value(handle.h, r, c, &value) != FREEXL_OK) continue;
        std::string text;
        switch (value.type) {
          case FREEXL_CELL_INT: text = std::to_string(value.value.int_value); break;
          case FREEXL_CELL_DOUBLE: text = numberText(value.value.double_value); break;
          case FREEXL_CELL_TEXT:
          case FREEXL_CELL_SST_TEXT:
          case FREEXL_CELL_DATE:
          case FREEXL_CELL_DATETIME:
          case FREEXL_CELL_TIME:
            if (value.value.text_value) text = value.value.text_value;
            break;
          default: break;
        }
        if (text.empty()) continue;
        if (!budget.keepCell(text.size())) {
          error = budget.why();
          return false;
        }
        sheet.put(static_cast<int32_t>(r + 1), c + 1, text);
      }
    }
  }
  return true;
}

}  // namespace vlm::platform::workbook
