#pragma once
// The connection handler's spreadsheet branch (mode 1): check the
// selection, load it, and end the connection by its result; and the
// commands of the spreadsheet workspace (start, open, quit, check, jump,
// switch, confirm the selection).
#include <string>

namespace vlm {

struct EngineState;

// Mode 1 of the connection request, after the table was cleared.
void connectAndLoadExcel(EngineState& state);

// Before mode 1 clears anything: with a table loaded and no selection the
// workspace could hand over (none answering, or no workbook open), the
// table stays with its model and the user hears why. True when it stayed.
bool keepTableWithoutSelection(EngineState& state);

// Opens a workbook in the workspace (and a sheet of it, when named) and,
// when it opened, runs the connection request in mode 1.
bool openWorkbookFile(EngineState& state, const std::string& path, const std::string& sheet = {});

void registerExcelHandlers();

}  // namespace vlm
