#include "data/table_clear.h"

#include "data/text_pool.h"
#include "data/time_table.h"

namespace vlm {

void clearTable(DataTable& table) {
  clearTextPool(table.textPool);
  table.fieldCount = 0;
  table.rowCount = 0;
  table.rowCapacity = 0;
  table.currentAccessObject = 0;
  for (DataField& field : table.fields) {
    field.analysisClass = AC_NONE;
    field.type = FT_NONE;
    field.name[0] = '\0';
    CellArray().swap(field.cells);
    std::vector<int32_t>().swap(field.byteSizes);
    field.flags &= static_cast<uint8_t>(~kFieldValid);
    field.numberFormatClass = 0;
    field.dateOrderState = 0;
    field.distinctCount = 0;
    // A count of 0 with the old list still held would invite reading it.
    DistinctList().swap(field.distinct);
    for (int32_t& m : field.dateComponentMax) m = 0;
  }
  RowIdList().swap(table.rowIds);
  clearTimeTable(table.timeTable);
  if (table.hooks.clear) table.hooks.clear();
  if (table.hooks.invalidateGraphicCache) table.hooks.invalidateGraphicCache();
}

}  // namespace vlm
