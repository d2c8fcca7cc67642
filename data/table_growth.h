#pragma once
#include <cstdint>

#include "data/data_table.h"

namespace vlm {

// Row capacity that growRows gives for a request: 500 rounded up in steps of
// 500 (1 -> 500, 500 -> 500, 501 -> 1000); -1 when it would not fit an int32.
int32_t rowCapacityFor(int32_t count);

// Makes room for at least count rows in every per-row array: first the other
// layers' arrays (hooks.grow), then the row ids (new entries -1) and the cells
// of every field in use (new cells without their present flag). On failure it
// reports "Unable to store IDs!" or "Unable to store fields!", keeps the old
// arrays and the old capacity, and returns false.
bool growRows(DataTable& table, int32_t count);

}  // namespace vlm
