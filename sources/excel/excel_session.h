#pragma once
// What the spreadsheet loader keeps between its commands: the reference
// letters once known, the selected areas of the last connection, and what it
// knows of the spreadsheet workspace's life cycle.
#include <atomic>
#include <cstdint>
#include <vector>

#include "sources/excel/excel_areas.h"

namespace vlm {

struct EngineState;

constexpr const char* kExcelService = "Excel";

struct ExcelSession {
  // Detected from the first selection read, then kept.
  bool lettersKnown = false;
  ReferenceLetters letters;
  std::vector<ExcelArea> areas;
  int32_t selectionIsRange = 0;  // the selection covers at least two rows
  // Automation flags.
  std::atomic<bool> startedByEngine{false};
  std::atomic<bool> foundRunning{false};
  std::atomic<bool> shown{false};
};

// The state's session, made on first use.
ExcelSession& excelSession(EngineState& state);

}  // namespace vlm
