#pragma once
// The Selector's rows for a table: built after every load, and added one by
// one by the model file. Everything here runs under the data lock.
#include <cstdint>

#include "data/data_table.h"

namespace vlm {
struct EngineState;
}

namespace vlm::selector {

// After a load stored its rows and their distinct values: every pass bit set
// and every sample selected; each field without a row gets its default row;
// Range rows span their field's values, Item rows show "*** ALL ***" and
// every value of every row is selected, so all samples pass; then the
// selection computation runs. A new table also drops the edits the window
// made against the old one.
void takeLoadedTableLocked(EngineState& state);

// The model file's rows. clearRowsLocked starts over (no row added yet);
// each addRowLocked gives the next field its row: the method (0..4, any other
// value 0; a method the field's type does not offer is none), every pass bit
// of the field set; a Range row spans the values the samples have, an Item
// row shows `item` (clamped to the list) or "*** ALL ***" when it is
// negative, a Samples row with more than 20 values becomes an Item Slider and
// otherwise selects every value. Refused (false) once every field has its row.
// After the last row the caller runs the selection computation
// (selection_compute.h), asking for the complete view so that an open window
// shows the restored rows.
void clearRowsLocked(EngineState& state);
bool addRowLocked(EngineState& state, int32_t method, int32_t item = -1);
int32_t rowsAdded(const EngineState& state);

// The method of the field's row (0 outside the table), for the model file.
int32_t rowMethod(const DataTable& table, int32_t field);

}  // namespace vlm::selector
