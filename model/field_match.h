#pragma once
// Whether the current model still fits a newly loaded table.
#include "data/data_table.h"
#include "model/association.h"

namespace vlm {

// True when every association that names a field finds, at that field index,
// a field of the same name and type as recorded in the association. Any
// difference, a field index outside the table, or a model without
// associations answers false.
bool fieldNamesEqual(const AssociationSet& set, const DataTable& table);

}  // namespace vlm
