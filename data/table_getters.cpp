#include "data/table_getters.h"

namespace vlm {
namespace {

bool hasFieldCursor(const DataTable& table) {
  return table.sourceKind == DSK_EXCEL || table.sourceKind == DSK_ACCESS || table.sourceKind == DSK_CLIPBOARD;
}

}  // namespace

int32_t rowIndex(const DataTable& table, int32_t sourceKind, int32_t sample) {
  if (sourceKind != DSK_EXCEL && sourceKind != DSK_ACCESS) return sample;
  if (sample < 0 || static_cast<size_t>(sample) >= table.rowIds.size()) return -1;
  return table.rowIds[static_cast<size_t>(sample)];
}

int32_t firstAvailableField(const DataTable& table, int32_t& cursor) {
  cursor = 0;
  return hasFieldCursor(table) && table.fieldCount > 0 ? 0 : -1;
}

int32_t nextAvailableField(const DataTable& table, int32_t& cursor) {
  if (cursor < INT32_MAX) ++cursor;
  return hasFieldCursor(table) && cursor < table.fieldCount ? cursor : -1;
}

}  // namespace vlm
