#pragma once
// The conversations the spreadsheet workspace answers on its service "Excel":
//   "System": "Status" ("Ready"), "Selection" (the active sheet's selection,
//     "[Book.xlsx]Sheet1!R1C1:R11C3", areas separated by ';'), "Topics",
//     "SysItems".
//   "[book]sheet": an R1C1 reference in the workspace's letters answers the
//     cells of that range inside the sheet's used part, as tab-separated
//     lines each ended by CR LF; executes "[select(\"r12\")]" (any R1C1
//     reference), which selects that range on the sheet.
#include <memory>
#include <string>
#include <string_view>

#include "platform/dde/conversation.h"

namespace vlm::platform::workbook {

class ExcelWorkspace;

// "[book]sheet", the whole optionally in single quotes; false for anything else.
bool parseSheetTopic(std::string_view topic, std::string& book, std::string& sheet);

// The reference of "[select(\"r%03i\")]" (the verb in any case); false for
// any other command.
bool parseSelectCommand(std::string_view command, std::string& reference);

std::shared_ptr<dde::Server> makeExcelServer(ExcelWorkspace& workspace);

}  // namespace vlm::platform::workbook
