#include "data/source_types.h"

namespace vlm {
namespace {

struct CodeRow {
  uint8_t access, odbc, analysis;
};

// Codes -7 .. 12, one row each.
constexpr int32_t kFirstCode = -7;
constexpr CodeRow kRows[] = {
    {FT_NONE, FT_INTEGER, FT_NONE},       // -7
    {FT_NONE, FT_INTEGER, FT_NONE},       // -6
    {FT_NONE, FT_INTEGER, FT_NONE},       // -5
    {FT_NONE, FT_FLAG, FT_NONE},          // -4
    {FT_NONE, FT_FLAG, FT_NONE},          // -3
    {FT_NONE, FT_FLAG, FT_NONE},          // -2
    {FT_NONE, FT_TEXT, FT_NONE},          // -1
    {FT_NONE, FT_NONE, FT_NONE},          // 0
    {FT_INTEGER, FT_TEXT, FT_TEXT},       // 1
    {FT_INTEGER, FT_INTEGER, FT_TEXT},    // 2
    {FT_INTEGER, FT_INTEGER, FT_INTEGER}, // 3
    {FT_INTEGER, FT_INTEGER, FT_REAL},    // 4
    {FT_REAL, FT_INTEGER, FT_NONE},       // 5
    {FT_REAL, FT_REAL, FT_DATETIME},      // 6
    {FT_REAL, FT_REAL, FT_NONE},          // 7
    {FT_DATETIME, FT_REAL, FT_INTEGER},   // 8
    {FT_TEXT, FT_DATETIME, FT_NONE},      // 9
    {FT_TEXT, FT_DATETIME, FT_NONE},      // 10
    {FT_TEXT, FT_DATETIME, FT_TEXT},      // 11
    {FT_TEXT, FT_TEXT, FT_SIZE},          // 12
};
constexpr int32_t kLastCode = kFirstCode + static_cast<int32_t>(sizeof(kRows) / sizeof(kRows[0])) - 1;

}  // namespace

uint8_t fieldTypeFromSourceCode(int32_t sourceKind, int32_t code) {
  if (code < kFirstCode || code > kLastCode) return FT_NONE;
  const CodeRow& row = kRows[code - kFirstCode];
  if (sourceKind == DSK_ACCESS) return row.access;
  if (sourceKind == DSK_ODBC) return row.odbc;
  return row.analysis;
}

}  // namespace vlm
