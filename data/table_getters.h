#pragma once
// Read-only views of the table behind the exported getters.
#include <cstdint>

#include "data/data_table.h"

namespace vlm {

// The sample's source row id for DSK_EXCEL and DSK_ACCESS, else the sample
// index itself. A sample outside the row ids gives -1.
int32_t rowIndex(const DataTable& table, int32_t sourceKind, int32_t sample);

// Field cursor over the fields of an Excel, Access or clipboard table: the
// first call resets the cursor and gives 0 (or -1 when the table is of
// another kind or has no field), the next calls advance it and give it while
// it is below the field count, else -1.
int32_t firstAvailableField(const DataTable& table, int32_t& cursor);
int32_t nextAvailableField(const DataTable& table, int32_t& cursor);

}  // namespace vlm
