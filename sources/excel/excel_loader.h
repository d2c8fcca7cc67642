#pragma once
// Reading the selected cells of the spreadsheet workspace's active sheet
// into the table, through conversations on the service "Excel": the
// selection's address, the field names from its first row and the cells
// column band by column band.
#include <cstdint>
#include <string>

namespace vlm {

struct EngineState;

// The connection results.
constexpr int32_t kExcelLoaded = 1;
constexpr int32_t kExcelUnreachable = -1;
constexpr int32_t kExcelNoData = -2;
constexpr int32_t kExcelNoHeader = -3;
constexpr int32_t kExcelCancelled = -11;

// Connects and reads the selection: with `load` false only its fields (a
// check), else its rows too, thinned by the Load Control method when the
// selection holds more rows than the limit. Results 1, -1 (no workspace
// answering), -2 (no selection, or nothing read), -3 (the first row holds
// numbers, so the selection has no field names), -11 (cancelled).
int32_t connectExcel(EngineState& state, bool load);

// Asks the workspace, without touching the table, whether it answers and
// names a selection to read: 1, -1 (no workspace answering) or -2 (none).
int32_t askExcelForSelection();

// The texts the loader reports.
constexpr const char* kExcelBadFormat = "Incorrect Data Format Receive from Excel.";
constexpr const char* kExcelAreasFull = "Unable to store all the Excel selections!";
constexpr const char* kExcelNoBuffer = "Can't load in selected Excel data!";
constexpr const char* kExcelNoFile = "No XLS file";

}  // namespace vlm
