#pragma once
// Workbook files: Office Open XML (.xlsx, .xlsm), OpenDocument (.ods), the
// older binary format (.xls) and delimited text (.csv, .txt), read into
// sheets of cell texts with the selection each sheet saved and the sheet
// that was active.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/read_limits.h"
#include "platform/workbook/sheet.h"

namespace vlm::platform::workbook {

struct Workbook {
  std::string path;  // as it was opened
  std::string name;  // the file name, without folders
  std::vector<Sheet> sheets;
  int32_t activeSheet = 0;
};

enum class WorkbookFormat { Xlsx, Ods, Xls, Csv, Text };

// The format by the file's extension (any case); nothing for other files.
std::optional<WorkbookFormat> workbookFormatOf(const std::string& path);
// Whether the file is a spreadsheet proper (.xlsx, .xlsm, .ods, .xls), the
// kinds that open as workbooks wherever they come from.
bool isSpreadsheetFile(const std::string& path);

// Reads the file. On failure, null with `error` a sentence naming the file
// and what is wrong with it.
std::unique_ptr<Workbook> readWorkbookFile(const std::string& path, const ReadLimits& limits, std::string& error);

// The same for a file's bytes (`name` stands for the file in messages).
std::unique_ptr<Workbook> readWorkbookBytes(std::string_view bytes, WorkbookFormat format, const std::string& name,
                                            const ReadLimits& limits, std::string& error);

// The readers of each format, for a workbook whose path and name are set.
// False with `error` saying what is wrong (without the file's name).
bool readXlsx(std::string_view bytes, ReadBudget& budget, Workbook& out, std::string& error);
bool readOds(std::string_view bytes, ReadBudget& budget, Workbook& out, std::string& error);
bool readXls(const std::string& path, ReadBudget& budget, Workbook& out, std::string& error);
bool readDelimited(std::string_view bytes, char delimiter, ReadBudget& budget, Workbook& out, std::string& error);

}  // namespace vlm::platform::workbook
