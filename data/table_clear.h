#pragma once
#include "data/data_table.h"

namespace vlm {

// Empties the table for a new load: frees the pool texts, the time table, the
// row ids and every field's cells, and resets each field record. The caller
// holds the data lock; the other layers' per-row arrays go through
// hooks.clear, and the scene is told through hooks.invalidateGraphicCache.
void clearTable(DataTable& table);

}  // namespace vlm
