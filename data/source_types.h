#pragma once
#include <cstdint>

#include "data/data_table.h"

namespace vlm {

// Maps a loader's type code to a FieldType: Access field type codes for
// DSK_ACCESS, ODBC SQL type codes for DSK_ODBC, and analysis classes for any
// other kind. Unknown codes give FT_NONE.
uint8_t fieldTypeFromSourceCode(int32_t sourceKind, int32_t code);

}  // namespace vlm
